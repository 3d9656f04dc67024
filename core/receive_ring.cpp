// SPDX-License-Identifier: BSD-2-Clause
#include "receive_ring.h"

#include <exception>

#include "failure.h"

namespace veltrane {

ReceiveRing::ReceiveRing(StatusFields& fields)
    : fields_(fields),
      strReceiveBuffer(static_cast<std::size_t>(kLastSlot) + 1),
      sequences_(static_cast<std::size_t>(kLastSlot) + 1, 0)
{
}

void ReceiveRing::objComm_OnComm(SerialInput& objComm)
{
    try {
        if (objComm.InBufferCount() > 0) {
            lngWriteIndex = lngWriteIndex + 1 > kLastSlot ? 0 : lngWriteIndex + 1;
            sequences_[static_cast<std::size_t>(lngWriteIndex)] = ++stores_;
            std::string& target = strReceiveBuffer[static_cast<std::size_t>(lngWriteIndex)];
            try {
                target = objComm.Input();
            } catch (...) {
                // The index has moved on already; leaving the old chunk there would
                // have the assembler read text from a lap ago a second time.
                target.clear();
                throw;
            }
        }
        if (fields_.reads(Field::lblFound, kNo)) fields_.set(Field::lblFound, kYes);
    } catch (const std::exception& failure) {
        fields_.set(Field::lblQuality, failure.what());
    }
}

}  // namespace veltrane
