#include "port/gpio/GpioCapture.h"

#include "port/gpio/GpioLineRequest.h"

namespace brelvion::port::gpio {

namespace {

std::size_t at(int index) { return static_cast<std::size_t>(index); }

}  // namespace

void GpioCapture::setCapture(capture::BusCapture* capture, std::int64_t nowNs) {
  capture_ = capture;
  if (capture_ == nullptr) return;
  slaveHolds_ = {false, false};
  sdaFreeSince_ = capture_->samples().size();
  sclReleasedAt_ = sdaFreeSince_;
  record(nowNs);
}

void GpioCapture::lineSet(int index, bool released, std::int64_t nowNs) {
  const std::size_t next = capture_ != nullptr ? capture_->samples().size() : 0;
  const bool wasReleased = released_[at(index)];
  if (index == kSclIndex) {
    if (wasReleased && !released) {
      // A slave may let go of SDA right after SCL falls: assume it did until a read says
      // otherwise.
      slaveHolds_[at(kSdaIndex)] = false;
      sdaFreeSince_ = next;
    }
    if (!wasReleased && released) sclReleasedAt_ = next;
    slaveHolds_[at(kSclIndex)] = false;
  } else if (!wasReleased && released) {
    sdaFreeSince_ = next;
  }
  released_[at(index)] = released;
  if (capture_ != nullptr) record(nowNs);
}

void GpioCapture::lineRead(int index, bool high, std::int64_t nowNs) {
  if (capture_ == nullptr || !released_[at(index)] || slaveHolds_[at(index)] == !high) return;
  slaveHolds_[at(index)] = !high;
  if (index == kSdaIndex) {
    capture_->amendSda(sdaFreeSince_, wire(kSdaIndex));
  } else if (!high) {
    capture_->amendScl(sclReleasedAt_, false);
  }
  record(nowNs);
}

bool GpioCapture::wire(int index) const { return released_[at(index)] && !slaveHolds_[at(index)]; }

void GpioCapture::record(std::int64_t nowNs) {
  capture_->record(nowNs, wire(kSclIndex), wire(kSdaIndex));
}

}  // namespace brelvion::port::gpio
