// The control's state stream reader: any bytes are either refused, leaving the state untouched, or
// read into a state that writes back to a stream of the same length that reads back the same.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "FuzzCheck.h"
#include "wmp/logic/StateStream.h"

namespace {

const std::size_t kHeaderBytes = 16;
const std::size_t kRecordHeaderBytes = 8; // control id, code, 32-bit length
const std::size_t kTerminatorBytes = 2;

// A state that no stream of the program carries, to see whether a refused read touched it.
PlayerInitialState Marked()
{
    PlayerInitialState state;
    state.volume = 12345;
    state.fileName = "untouched";
    return state;
}

void CheckRecord(const std::vector<std::uint8_t>& stream)
{
    const std::vector<std::uint8_t> record = BuildDialogInitResource(kMediaPlayerControlId, stream);
    FUZZ_CHECK(record.size() == kRecordHeaderBytes + stream.size() + kTerminatorBytes);
    const std::uint32_t length =
        record[4] | record[5] << 8 | record[6] << 16 | static_cast<std::uint32_t>(record[7]) << 24;
    FUZZ_CHECK(length == stream.size());
    FUZZ_CHECK(std::vector<std::uint8_t>(record.begin() + kRecordHeaderBytes,
                                         record.end() - kTerminatorBytes) == stream);
    FUZZ_CHECK(record[record.size() - 1] == 0 && record[record.size() - 2] == 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    PlayerInitialState state = Marked();
    if (!ParseStateStream(data, size, state)) {
        FUZZ_CHECK(SerializeStateStream(state) == SerializeStateStream(Marked()));
        return 0;
    }
    FUZZ_CHECK(size >= kHeaderBytes);
    const std::vector<std::uint8_t> written = SerializeStateStream(state);
    // Booleans are written as -1 or 0 whatever non-zero value was read, and the unnamed entry is
    // written empty whatever bytes it carried; nothing grows.
    FUZZ_CHECK(written.size() <= size);
    PlayerInitialState reread = Marked();
    FUZZ_CHECK(ParseStateStream(written.data(), written.size(), reread));
    FUZZ_CHECK(SerializeStateStream(reread) == written);
    // Cut anywhere, the stream is refused.
    if (size > 0) {
        PlayerInitialState cut = Marked();
        FUZZ_CHECK(!ParseStateStream(written.data(), written.size() - 1 - size % 7, cut));
    }
    CheckRecord(written);
    return 0;
}
