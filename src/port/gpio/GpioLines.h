#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <utility>

#include "port/BitLines.h"
#include "capture/BusCapture.h"
#include "port/StepTimer.h"
#include "port/gpio/GpioCapture.h"
#include "port/gpio/GpioLineRequest.h"
#include "port/gpio/GpioLinesText.h"
#include "port/gpio/GpioSystemCalls.h"

namespace brelvion::port::gpio {

struct GpioLinesOptions {
  // Told once, when the chip cannot give the lines as open-drain outputs read back through
  // the request and they switch direction instead.
  std::function<void(const std::string&)> notice;
  // The time of one bitDelay pass, until the engine sets a step time.
  std::chrono::nanoseconds quantum = kHardwareQuantum;
};

// SCL and SDA on two lines of a GPIO chip, through the kernel's GPIO character device v2
// (linux/gpio.h, Linux 5.10 and later): both lines in one request, as open-drain outputs
// with pull-up bias where the chip has it, value 1 releasing a line to the pull-ups, both
// read back through the same request, SCL included. A chip that cannot do that gets its
// lines switched between input (released) and output low, and the notice says so once.
//
// As with the parallel port, nothing is opened until the first line access (or open()), so
// a missing chip or a line in use shows up there, as a numbered RuntimeError that says
// what to do: 53 no such chip or line, 70 no permission, 68 a line in use (with its
// consumer), a chip removed in the middle of a command, any other failure. A chip gone
// mid-command leaves nothing open, and a later access opens it afresh.
//
// Each line set ends a step's start on the step timer, as a port write does. A capture
// records the lines as the master knows them, as on the parallel port (GpioCapture).
class GpioLines : public BitLines {
 public:
  // calls must outlive the lines; root is where /dev is looked up.
  explicit GpioLines(GpioLinesChoice choice, GpioSystemCalls& calls = GpioSystemCalls::real(),
                     std::filesystem::path root = "/", GpioLinesOptions options = {});
  // Releases both lines, then the request.
  ~GpioLines() override;

  GpioLines(const GpioLines&) = delete;
  GpioLines& operator=(const GpioLines&) = delete;

  void setSda(bool released) override { setLine(kSdaIndex, released); }
  void setScl(bool released) override { setLine(kSclIndex, released); }
  bool sda() override { return readLine(kSdaIndex); }
  std::optional<bool> scl() override { return readLine(kSclIndex); }
  void waitQuanta(std::int64_t passes) override;
  void setQuantum(std::chrono::nanoseconds quantum) override { timer_.setQuantum(quantum); }
  // "gpio:gpiochip0:3,2", as chosen.
  std::string name() const override { return gpioLinesText(choice_); }

  // Requests the lines now unless that is done already.
  void open();
  // The request as it was made, once open: offsets, mode, bias.
  const GpioLineRequest& request() const { return request_; }
  const GpioLinesChoice& choice() const { return choice_; }

  // Where the notice goes from now on, in place of the one the options gave: a program
  // that makes its lines before the window that shows the notice.
  void setNotice(std::function<void(const std::string&)> notice) {
    options_.notice = std::move(notice);
  }
  // Records every change of SCL and SDA into capture from now on; nullptr stops. The
  // capture must outlive the recording.
  void setCapture(capture::BusCapture* capture);

 private:
  void setLine(int index, bool released);
  bool readLine(int index);
  // Errors of a line access: the request is dropped, so that a later access starts afresh.
  [[noreturn]] void accessFailed(int error);
  void closeRequest() noexcept;

  GpioLinesChoice choice_;
  GpioSystemCalls& calls_;
  std::filesystem::path root_;
  GpioLinesOptions options_;
  StepTimer timer_;
  GpioLineRequest request_;
  // The master's own level of each line, by index in the request.
  std::array<bool, 2> released_{true, true};
  bool noticeGiven_ = false;
  StepTimer::Nanos lastSetNs_ = 0;
  GpioCapture capture_;
};

}  // namespace brelvion::port::gpio
