#pragma once

#include <string>

namespace brelvion::desktop {

enum class MessageIcon { None, Critical, Question, Exclamation, Information };
enum class MessageButtons { Ok, YesNo };
enum class MessageAnswer { Ok, Yes, No };

struct MessageBoxRequest {
  std::string text;
  std::string title;
  MessageIcon icon = MessageIcon::None;
  MessageButtons buttons = MessageButtons::Ok;
};

// The window-system services the core calls. The Qt layer implements them for the
// windows; tests and the command-line companion use their own.
class Desktop {
 public:
  virtual ~Desktop() = default;

  // Shows a modal box and returns when the user has answered it.
  virtual MessageAnswer messageBox(const MessageBoxRequest& request) = 0;
  // Lets the window events pending at this moment run once, then returns.
  virtual void processPendingEvents() = 0;
  // The system beep.
  virtual void beep() = 0;
};

}  // namespace brelvion::desktop
