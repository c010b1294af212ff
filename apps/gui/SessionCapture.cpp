#include "SessionCapture.h"

#include "ShownArgument.h"
#include "platform/RuntimeError.h"

namespace brelvion::gui {

bool writeSessionCapture(const platform::BusCapture& capture, const std::string& path,
                         platform::WindowSystem& windows, std::ostream& err) {
  try {
    capture.writeVcdFile(path);
    return true;
  } catch (const platform::RuntimeError& error) {
    err << "brelvion-i2c: capture not written: " << apps::escapeControls(error.description())
        << '\n';
    windows.messageBox({error.boxText(), kCaptureErrorTitle, platform::MessageIcon::Critical,
                        platform::MessageButtons::Ok});
    return false;
  }
}

}  // namespace brelvion::gui
