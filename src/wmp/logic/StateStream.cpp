// The Media Player control's persisted initial state and its dialog-initialisation record.
#include "wmp/logic/StateStream.h"

#include <cstring>
#include <variant>

namespace {

using S = PlayerInitialState;
using T = StateValueType;

// Where a tagged value lives in PlayerInitialState; monostate for the unnamed entry.
using Field = std::variant<std::monostate, bool S::*, std::int32_t S::*, std::uint32_t S::*,
                           double S::*, std::string S::*>;

struct StateProperty {
    StatePropertyInfo info;
    Field field;
};

// The one table of the stream's tagged values, shared by the writer and the reader.
const StateProperty kProperties[] = {
    {{"AudioStream", T::Int32}, &S::audioStream},
    {{"AutoSize", T::Bool}, &S::autoSize},
    {{"AutoStart", T::Bool}, &S::autoStart},
    {{"AnimationAtStart", T::Bool}, &S::animationAtStart},
    {{"AllowScan", T::Bool}, &S::allowScan},
    {{"AllowChangeDisplaySize", T::Bool}, &S::allowChangeDisplaySize},
    {{"", T::Empty}, std::monostate{}},
    {{"AutoRewind", T::Bool}, &S::autoRewind},
    {{"Balance", T::Int32}, &S::balance},
    {{"BaseURL", T::String}, &S::baseURL},
    {{"BufferingTime", T::Double}, &S::bufferingTime},
    {{"CaptioningID", T::String}, &S::captioningID},
    {{"ClickToPlay", T::Bool}, &S::clickToPlay},
    {{"CursorType", T::Int32}, &S::cursorType},
    {{"CurrentPosition", T::Double}, &S::currentPosition},
    {{"CurrentMarker", T::Int32}, &S::currentMarker},
    {{"DefaultFrame", T::String}, &S::defaultFrame},
    {{"DisplayBackColor", T::UInt32}, &S::displayBackColor},
    {{"DisplayForeColor", T::UInt32}, &S::displayForeColor},
    {{"DisplayMode", T::Int32}, &S::displayMode},
    {{"DisplaySize", T::Int32}, &S::displaySize},
    {{"Enabled", T::Bool}, &S::enabled},
    {{"EnableContextMenu", T::Bool}, &S::enableContextMenu},
    {{"EnablePositionControls", T::Bool}, &S::enablePositionControls},
    {{"EnableFullScreenControls", T::Bool}, &S::enableFullScreenControls},
    {{"EnableTracker", T::Bool}, &S::enableTracker},
    {{"FileName", T::String}, &S::fileName},
    {{"InvokeURLs", T::Bool}, &S::invokeURLs},
    {{"Language", T::Int32}, &S::language},
    {{"Mute", T::Bool}, &S::mute},
    {{"PlayCount", T::Int32}, &S::playCount},
    {{"PreviewMode", T::Bool}, &S::previewMode},
    {{"Rate", T::Double}, &S::rate},
    {{"SAMILang", T::String}, &S::samiLang},
    {{"SAMIStyle", T::String}, &S::samiStyle},
    {{"SAMIFileName", T::String}, &S::samiFileName},
    {{"SelectionStart", T::Double}, &S::selectionStart},
    {{"SelectionEnd", T::Double}, &S::selectionEnd},
    {{"SendOpenStateChangeEvents", T::Bool}, &S::sendOpenStateChangeEvents},
    {{"SendWarningEvents", T::Bool}, &S::sendWarningEvents},
    {{"SendErrorEvents", T::Bool}, &S::sendErrorEvents},
    {{"SendKeyboardEvents", T::Bool}, &S::sendKeyboardEvents},
    {{"SendMouseClickEvents", T::Bool}, &S::sendMouseClickEvents},
    {{"SendMouseMoveEvents", T::Bool}, &S::sendMouseMoveEvents},
    {{"SendPlayStateChangeEvents", T::Bool}, &S::sendPlayStateChangeEvents},
    {{"ShowCaptioning", T::Bool}, &S::showCaptioning},
    {{"ShowControls", T::Bool}, &S::showControls},
    {{"ShowAudioControls", T::Bool}, &S::showAudioControls},
    {{"ShowDisplay", T::Bool}, &S::showDisplay},
    {{"ShowGotoBar", T::Bool}, &S::showGotoBar},
    {{"ShowPositionControls", T::Bool}, &S::showPositionControls},
    {{"ShowStatusBar", T::Bool}, &S::showStatusBar},
    {{"ShowTracker", T::Bool}, &S::showTracker},
    {{"TransparentAtStart", T::Bool}, &S::transparentAtStart},
    {{"VideoBorderWidth", T::Int32}, &S::videoBorderWidth},
    {{"VideoBorderColor", T::UInt32}, &S::videoBorderColor},
    {{"VideoBorder3D", T::Bool}, &S::videoBorder3D},
    {{"Volume", T::Int32}, &S::volume},
    {{"WindowlessVideo", T::Bool}, &S::windowlessVideo},
};

constexpr std::size_t kPropertyCount = sizeof(kProperties) / sizeof(kProperties[0]);
static_assert(kPropertyCount == 59, "the control persists 59 values");

constexpr std::uint16_t kVariantTrue = 0xFFFF;  // VARIANT_BOOL true is -1
// Strings end in a two-byte zero, so the empty string is a count of 2 and two zero bytes.
constexpr std::uint32_t kStringTerminatorBytes = 2;

class Writer {
public:
    explicit Writer(std::vector<std::uint8_t>& out) : m_out(out) {}

    void U16(std::uint16_t v)
    {
        m_out.push_back(static_cast<std::uint8_t>(v));
        m_out.push_back(static_cast<std::uint8_t>(v >> 8));
    }

    void U32(std::uint32_t v)
    {
        U16(static_cast<std::uint16_t>(v));
        U16(static_cast<std::uint16_t>(v >> 16));
    }

    void Double(double v)
    {
        std::uint64_t bits;
        std::memcpy(&bits, &v, sizeof bits);
        U32(static_cast<std::uint32_t>(bits));
        U32(static_cast<std::uint32_t>(bits >> 32));
    }

    void Bytes(const std::string& s)
    {
        U32(static_cast<std::uint32_t>(s.size() + kStringTerminatorBytes));
        m_out.insert(m_out.end(), s.begin(), s.end());
        U16(0);
    }

private:
    std::vector<std::uint8_t>& m_out;
};

// Reads little-endian values and refuses, without reading, anything past the end.
class Reader {
public:
    Reader(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

    bool AtEnd() const { return m_pos == m_size; }

    bool U16(std::uint16_t& v)
    {
        if (!Has(2))
            return false;
        v = static_cast<std::uint16_t>(m_data[m_pos] | m_data[m_pos + 1] << 8);
        m_pos += 2;
        return true;
    }

    bool U32(std::uint32_t& v)
    {
        std::uint16_t lo, hi;
        if (!Has(4) || !U16(lo) || !U16(hi))
            return false;
        v = static_cast<std::uint32_t>(lo) | static_cast<std::uint32_t>(hi) << 16;
        return true;
    }

    bool Double(double& v)
    {
        std::uint32_t lo, hi;
        if (!Has(8) || !U32(lo) || !U32(hi))
            return false;
        const std::uint64_t bits = static_cast<std::uint64_t>(hi) << 32 | lo;
        std::memcpy(&v, &bits, sizeof v);
        return true;
    }

    // A byte count and that many bytes, the last two of them zero; gives the bytes before those.
    bool Bytes(std::string& s)
    {
        std::uint32_t count;
        if (!U32(count) || count < kStringTerminatorBytes || !Has(count))
            return false;
        const std::size_t textBytes = count - kStringTerminatorBytes;
        if (m_data[m_pos + textBytes] != 0 || m_data[m_pos + textBytes + 1] != 0)
            return false;
        s.assign(reinterpret_cast<const char*>(m_data + m_pos), textBytes);
        m_pos += count;
        return true;
    }

private:
    bool Has(std::size_t n) const { return n <= m_size - m_pos; }

    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_pos = 0;
};

void WriteValue(Writer& w, const StateProperty& p, const S& state)
{
    w.U16(static_cast<std::uint16_t>(p.info.type));
    switch (p.info.type) {
    case StateValueType::Empty:
        w.Bytes(std::string());
        break;
    case StateValueType::Int32:
        w.U32(static_cast<std::uint32_t>(state.*std::get<std::int32_t S::*>(p.field)));
        break;
    case StateValueType::UInt32:
        w.U32(state.*std::get<std::uint32_t S::*>(p.field));
        break;
    case StateValueType::Bool:
        w.U16(state.*std::get<bool S::*>(p.field) ? kVariantTrue : 0);
        break;
    case StateValueType::Double:
        w.Double(state.*std::get<double S::*>(p.field));
        break;
    case StateValueType::String:
        w.Bytes(state.*std::get<std::string S::*>(p.field));
        break;
    }
}

bool ReadValue(Reader& r, const StateProperty& p, S& state)
{
    std::uint16_t type;
    if (!r.U16(type) || type != static_cast<std::uint16_t>(p.info.type))
        return false;
    switch (p.info.type) {
    case StateValueType::Empty: {
        std::string ignored;
        return r.Bytes(ignored);
    }
    case StateValueType::Int32: {
        std::uint32_t v;
        if (!r.U32(v))
            return false;
        state.*std::get<std::int32_t S::*>(p.field) = static_cast<std::int32_t>(v);
        return true;
    }
    case StateValueType::UInt32:
        return r.U32(state.*std::get<std::uint32_t S::*>(p.field));
    case StateValueType::Bool: {
        std::uint16_t v;
        if (!r.U16(v))
            return false;
        state.*std::get<bool S::*>(p.field) = v != 0;
        return true;
    }
    case StateValueType::Double:
        return r.Double(state.*std::get<double S::*>(p.field));
    case StateValueType::String:
        return r.Bytes(state.*std::get<std::string S::*>(p.field));
    }
    return false;
}

}  // namespace

const StatePropertyInfo* StateStreamProperties(std::size_t& count)
{
    static const struct Infos {
        StatePropertyInfo items[kPropertyCount];
        Infos()
        {
            for (std::size_t i = 0; i < kPropertyCount; ++i)
                items[i] = kProperties[i].info;
        }
    } infos;
    count = kPropertyCount;
    return infos.items;
}

std::vector<std::uint8_t> SerializeStateStream(const PlayerInitialState& state)
{
    std::vector<std::uint8_t> out;
    out.reserve(kInitialStateStreamSize);
    Writer w(out);
    w.U32(state.headerWord0);
    w.U32(state.headerWord1);
    w.U32(static_cast<std::uint32_t>(state.extentX));
    w.U32(static_cast<std::uint32_t>(state.extentY));
    for (const StateProperty& p : kProperties)
        WriteValue(w, p, state);
    return out;
}

std::vector<std::uint8_t> BuildInitialStateStream()
{
    return SerializeStateStream(PlayerInitialState());
}

bool ParseStateStream(const std::uint8_t* data, std::size_t size, PlayerInitialState& out)
{
    if (data == nullptr && size != 0)
        return false;
    Reader r(data, size);
    PlayerInitialState state;
    std::uint32_t extentX, extentY;
    if (!r.U32(state.headerWord0) || !r.U32(state.headerWord1) || !r.U32(extentX) ||
        !r.U32(extentY))
        return false;
    state.extentX = static_cast<std::int32_t>(extentX);
    state.extentY = static_cast<std::int32_t>(extentY);
    for (const StateProperty& p : kProperties) {
        if (!ReadValue(r, p, state))
            return false;
    }
    if (!r.AtEnd())
        return false;
    out = state;
    return true;
}

std::vector<std::uint8_t> BuildDialogInitResource(std::uint16_t controlId,
                                                  const std::vector<std::uint8_t>& stream)
{
    std::vector<std::uint8_t> out;
    out.reserve(stream.size() + 10);
    Writer w(out);
    w.U16(controlId);
    w.U16(kDialogInitOleStream);
    w.U32(static_cast<std::uint32_t>(stream.size()));
    out.insert(out.end(), stream.begin(), stream.end());
    w.U16(0);  // ends the resource's list of records
    return out;
}
