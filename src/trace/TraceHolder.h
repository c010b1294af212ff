#pragma once

#include <string>

namespace brelvion::trace {

// Where the debug log keeps the trace: the debugger window's trace box, which may not
// exist yet. The log reads the whole text and replaces it whole.
class TraceHolder {
 public:
  virtual ~TraceHolder() = default;

  virtual bool exists() const = 0;
  // Creates the holder (the debugger window) without showing it.
  virtual void createHidden() = 0;
  virtual const std::string& text() const = 0;
  virtual void replaceText(std::string text) = 0;
};

// A trace holder that is just a string, for use without a debugger window.
class PlainTraceHolder : public TraceHolder {
 public:
  bool exists() const override { return exists_; }
  void createHidden() override { exists_ = true; }
  const std::string& text() const override { return text_; }
  void replaceText(std::string text) override { text_ = std::move(text); }

 private:
  bool exists_ = false;
  std::string text_;
};

}  // namespace brelvion::trace
