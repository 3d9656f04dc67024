// SPDX-License-Identifier: BSD-2-Clause
#include "receive_ring.h"

#include <exception>

#include "failure.h"

namespace veltrane {

namespace {
constexpr std::size_t kSlots = static_cast<std::size_t>(ReceiveRing::kLastSlot) + 1;
constexpr std::size_t kFirstRoom = 512;
}  // namespace

ReceiveRing::ReceiveRing(StatusFields& fields) : fields_(fields), slots_(1), sequences_(1, 0) {}

// Room for a few hundred slots first, then for the whole lap: a ring that
// lives briefly (a test, a short replay, a fuzz input) costs little, and one
// that runs long holds exactly a lap.
void ReceiveRing::addSlot()
{
    if (sequences_.size() == sequences_.capacity()) {
        const std::size_t room = sequences_.size() < kFirstRoom ? kFirstRoom : kSlots;
        slots_.reserve(room);
        sequences_.reserve(room);
    }
    slots_.emplace_back();
    sequences_.push_back(0);
}

void ReceiveRing::store(SerialInput& port)
{
    try {
        if (port.bytesWaiting() > 0) {
            const std::int32_t next = writeIndex_ + 1 > kLastSlot ? 0 : writeIndex_ + 1;
            if (static_cast<std::size_t>(next) == sequences_.size()) addSlot();
            writeIndex_ = next;
            sequences_[static_cast<std::size_t>(writeIndex_)] = ++stores_;
            std::string& target = slots_[static_cast<std::size_t>(writeIndex_)];
            try {
                target = port.readAll();
            } catch (...) {
                // The index has moved on already; leaving the old chunk there would
                // have the assembler read text from a lap ago a second time.
                target.clear();
                throw;
            }
        }
        if (fields_.reads(Field::Found, kNo)) fields_.set(Field::Found, kYes);
    } catch (const std::exception& failure) {
        // A lost device ends up here, after all it sent (the path is told at QtSerialPort::portError).
        fields_.set(Field::Quality, failure.what());
    }
}

}  // namespace veltrane
