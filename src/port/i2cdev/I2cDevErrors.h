#pragma once

#include <optional>
#include <string>
#include <vector>

#include "base/RuntimeError.h"
#include "i2c/I2cTransfer.h"
#include "port/i2cdev/I2cAdapterList.h"

namespace brelvion::port::i2cdev {

// What a transfer the driver refused came to on the bus, for the errnos that are the bus's
// answer rather than a fault: ENXIO, EREMOTEIO and EIO are a missing acknowledge (i2c-dev
// does not say where), ETIMEDOUT a bus timeout, EAGAIN lost arbitration. Nothing for any
// other errno.
std::optional<i2c::MessageOutcome> busOutcomeOfErrno(int error);

// The error for opening the adapter's node failing with errno `error`: 53 for a node that
// is missing (naming the i2c-dev module when the kernel has the adapter, else the
// adapters it has), 70 for permission (the group 'i2c'), 68 for anything else.
base::RuntimeError openError(int error, const I2cAdapterInfo& adapter,
                             const std::vector<I2cAdapterInfo>& adapters);

// The error for a driver call failing with an errno that busOutcomeOfErrno does not take:
// 68 for an adapter gone (ENODEV, ESHUTDOWN) or a call that failed, 5 for a transfer the
// adapter cannot do (EOPNOTSUPP: a quirk of its driver; EINVAL). call names the driver
// call ("I2C_RDWR"), transfer what it carried (TransferText).
base::RuntimeError callError(int error, const std::string& devicePath, const std::string& adapter,
                             const std::string& call, const std::string& transfer);

// The error for a transfer the adapter's functionality has no call for.
base::RuntimeError unsupportedError(const std::string& adapter, const std::string& what);

std::string errnoText(int error);

}  // namespace brelvion::port::i2cdev
