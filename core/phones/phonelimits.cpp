// The limits the phone server holds each address to: connections that have not shown the code
// yet, and wrong codes, past which the address is locked out for a while.
#include "core/phones/phones.hpp"

#include <iterator>

namespace {

// Addresses the book holds before it forgets those that hold nothing any more.
constexpr std::size_t bookSweep = 256;

// Whether the record holds nothing any more: no connection waiting, no lockout, no wrong code
// within the last second.
bool idle(const AddressRecord& record, std::int64_t now) {
    const auto& wrong = record.wrongCodes;
    const std::int64_t lastWrong =
        wrong.times[(wrong.next + maxWrongCodesPerSecond - 1) % maxWrongCodesPerSecond];
    return record.waiting == 0 && record.lockedUntil <= now &&
           (wrong.count == 0 || now - lastWrong >= 1000000);
}

} // namespace

bool admitWaiting(AddressBook& book, const std::string& address, std::int64_t now) {
    if (book.size() >= bookSweep) {
        // Many hosts, or one with many addresses: the book stays as small as the traffic of
        // the last minute.
        for (auto at = book.begin(); at != book.end();) {
            at = idle(at->second, now) ? book.erase(at) : std::next(at);
        }
    }
    AddressRecord& record = book[address];
    if (record.waiting >= maxWaitingPerAddress) {
        return false;
    }
    record.waiting += 1;
    return true;
}

void endWaiting(AddressBook& book, const std::string& address, std::int64_t now) {
    const auto at = book.find(address);
    if (at != book.end() && at->second.waiting > 0) {
        at->second.waiting -= 1;
        if (idle(at->second, now)) {
            book.erase(at);
        }
    }
}

bool addressLocked(AddressBook& book, const std::string& address, std::int64_t now) {
    const auto at = book.find(address);
    return at != book.end() && at->second.lockedUntil > now;
}

void noteWrongCode(AddressBook& book, const std::string& address, std::int64_t now) {
    AddressRecord& record = book[address];
    if (!rateAllows(record.wrongCodes, now)) {
        record.lockedUntil = now + wrongCodeLockout;
    }
}
