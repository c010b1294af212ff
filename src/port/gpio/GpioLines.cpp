#include "port/gpio/GpioLines.h"

#include <linux/gpio.h>

#include <utility>

namespace brelvion::port::gpio {

namespace {

std::uint64_t bitOf(int index) { return std::uint64_t{1} << index; }

}  // namespace

GpioLines::GpioLines(GpioLinesChoice choice, GpioSystemCalls& calls, std::filesystem::path root,
                     GpioLinesOptions options)
    : choice_(std::move(choice)),
      calls_(calls),
      root_(std::move(root)),
      options_(std::move(options)),
      timer_(options_.quantum) {}

GpioLines::~GpioLines() {
  if (request_.fd < 0) return;
  try {
    setScl(true);
    setSda(true);
  } catch (...) {
    // The chip is gone: there is nothing left to release.
  }
  closeRequest();
}

void GpioLines::open() {
  if (request_.fd >= 0) return;
  request_ = requestGpioLines(choice_, calls_, root_);
  released_ = {true, true};
  // The request releases both lines, whatever a request dropped before left them at.
  const StepTimer::Nanos now = monotonicNanos();
  capture_.lineSet(kSclIndex, true, now);
  capture_.lineSet(kSdaIndex, true, now);
  if (!request_.notice.empty() && !noticeGiven_ && options_.notice) {
    noticeGiven_ = true;
    options_.notice(request_.notice);
  }
}

void GpioLines::setLine(int index, bool released) {
  open();
  released_[static_cast<std::size_t>(index)] = released;
  int result;
  if (request_.openDrain) {
    gpio_v2_line_values values{released ? bitOf(index) : 0, bitOf(index)};
    result = calls_.ioctl(request_.fd, GPIO_V2_LINE_SET_VALUES_IOCTL, &values);
  } else {
    // The released lines are inputs; a pulled one an output driving low.
    std::uint64_t pulled = 0;
    for (int line : {kSclIndex, kSdaIndex}) {
      if (!released_[static_cast<std::size_t>(line)]) pulled |= bitOf(line);
    }
    gpio_v2_line_config config{};
    config.flags = releasedLineFlags(request_);
    if (pulled != 0) {
      config.num_attrs = 2;
      config.attrs[0].attr.id = GPIO_V2_LINE_ATTR_ID_FLAGS;
      config.attrs[0].attr.flags = pulledLineFlags(request_);
      config.attrs[0].mask = pulled;
      config.attrs[1].attr.id = GPIO_V2_LINE_ATTR_ID_OUTPUT_VALUES;
      config.attrs[1].attr.values = 0;
      config.attrs[1].mask = pulled;
    }
    result = calls_.ioctl(request_.fd, GPIO_V2_LINE_SET_CONFIG_IOCTL, &config);
  }
  if (result < 0) accessFailed(-result);
  // Timed from the end of the call, as a port write is.
  lastSetNs_ = monotonicNanos();
  timer_.markWrite(lastSetNs_);
  capture_.lineSet(index, released, lastSetNs_);
}

bool GpioLines::readLine(int index) {
  open();
  // A line the master pulls low as an output is low; the chip need not be asked.
  if (!request_.openDrain && !released_[static_cast<std::size_t>(index)]) return false;
  gpio_v2_line_values values{0, bitOf(index)};
  const int result = calls_.ioctl(request_.fd, GPIO_V2_LINE_GET_VALUES_IOCTL, &values);
  if (result < 0) accessFailed(-result);
  const bool high = (values.bits & bitOf(index)) != 0;
  if (capture_.recording()) capture_.lineRead(index, high, monotonicNanos());
  return high;
}

void GpioLines::setCapture(capture::BusCapture* capture) { capture_.setCapture(capture, monotonicNanos()); }

void GpioLines::waitQuanta(std::int64_t passes) {
  const StepTimer::Nanos deadline = timer_.deadlineAfter(passes);
  // A deadline no later than the latest set (passes of no time) has passed already.
  if (deadline <= lastSetNs_) return;
  while (monotonicNanos() < deadline) {
  }
}

void GpioLines::accessFailed(int error) {
  const std::string chipPath = request_.chipPath;
  closeRequest();
  throwAccessFailed(chipPath, error);
}

void GpioLines::closeRequest() noexcept {
  if (request_.fd >= 0) calls_.close(request_.fd);
  request_.fd = -1;
}

}  // namespace brelvion::port::gpio
