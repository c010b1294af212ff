#include "SessionCapture.h"

#include "ShownArgument.h"
#include "base/RuntimeError.h"

namespace brelvion::apps::gui {

bool writeSessionCapture(const capture::BusCapture& capture, const std::string& path,
                         desktop::WindowSystem& windows, std::ostream& err) {
  try {
    capture.writeVcdFile(path);
    return true;
  } catch (const base::RuntimeError& error) {
    err << "brelvion-i2c: capture not written: " << apps::escapeControls(error.description())
        << '\n';
    windows.messageBox({error.boxText(), kCaptureErrorTitle, desktop::MessageIcon::Critical,
                        desktop::MessageButtons::Ok});
    return false;
  }
}

}  // namespace brelvion::apps::gui
