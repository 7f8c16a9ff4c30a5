// The Media Player control's persisted initial state and the dialog-initialisation record
// that hands it to the control when the Windows Media window's dialog creates it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Variant type codes used by the stream's tagged values.
enum class StateValueType : std::uint16_t {
    Empty = 0,    // an unnamed entry; carries a byte count and bytes like a string
    Int32 = 3,    // 32-bit signed, 4 bytes
    Double = 5,   // IEEE double, 8 bytes
    String = 8,   // 32-bit byte count, then the bytes (ending in two zero bytes)
    Bool = 11,    // 16 bits: -1 true, 0 false
    UInt32 = 19,  // 32-bit unsigned (colours), 4 bytes
};

// Every property the stream carries, by name, in stream order. The member initialisers are
// the program's initial state. Strings hold their text without the two-byte terminator.
struct PlayerInitialState {
    // The four header words; the last two are the control's extent in HIMETRIC (0.01 mm).
    std::uint32_t headerWord0 = 0;
    std::uint32_t headerWord1 = 1;
    std::int32_t extentX = 3810;  // 144 pixels at 96 dpi
    std::int32_t extentY = 2408;  // 91 pixels at 96 dpi

    std::int32_t audioStream = -1;
    bool autoSize = false;
    bool autoStart = true;
    bool animationAtStart = true;
    bool allowScan = true;
    bool allowChangeDisplaySize = true;
    // (the unnamed type-0 entry stands here; it has no value of its own)
    bool autoRewind = false;
    std::int32_t balance = 0;
    std::string baseURL;
    double bufferingTime = 5.0;
    std::string captioningID;
    bool clickToPlay = true;
    std::int32_t cursorType = 0;
    double currentPosition = -1.0;
    std::int32_t currentMarker = 0;
    std::string defaultFrame;
    std::uint32_t displayBackColor = 0x00000000;  // RGB(0,0,0)
    std::uint32_t displayForeColor = 0x00FFFFFF;  // RGB(255,255,255)
    std::int32_t displayMode = 0;
    std::int32_t displaySize = 4;
    bool enabled = true;
    bool enableContextMenu = true;
    bool enablePositionControls = true;
    bool enableFullScreenControls = false;
    bool enableTracker = true;
    std::string fileName;
    bool invokeURLs = true;
    std::int32_t language = -1;
    bool mute = false;
    std::int32_t playCount = 1;
    bool previewMode = false;
    double rate = 1.0;
    std::string samiLang;
    std::string samiStyle;
    std::string samiFileName;
    double selectionStart = -1.0;
    double selectionEnd = -1.0;
    bool sendOpenStateChangeEvents = true;
    bool sendWarningEvents = true;
    bool sendErrorEvents = true;
    bool sendKeyboardEvents = false;
    bool sendMouseClickEvents = false;
    bool sendMouseMoveEvents = false;
    bool sendPlayStateChangeEvents = true;
    bool showCaptioning = false;
    bool showControls = true;
    bool showAudioControls = true;
    bool showDisplay = false;
    bool showGotoBar = false;
    bool showPositionControls = true;
    bool showStatusBar = false;
    bool showTracker = true;
    bool transparentAtStart = false;
    std::int32_t videoBorderWidth = 0;
    std::uint32_t videoBorderColor = 0x00000000;
    bool videoBorder3D = false;
    std::int32_t volume = -600;
    bool windowlessVideo = false;
};

// Name and type of each tagged value, in stream order (the unnamed entry's name is empty).
struct StatePropertyInfo {
    const char* name;
    StateValueType type;
};

// The 59 tagged values' names and types; count receives 59.
const StatePropertyInfo* StateStreamProperties(std::size_t& count);

// Control id of the Media Player control in the Windows Media window's dialog.
constexpr std::uint16_t kMediaPlayerControlId = 1025;
// The dialog-initialisation code for "load this control from a stream".
constexpr std::uint16_t kDialogInitOleStream = 0x0376;
// Byte size of the initial stream and of the whole dialog-initialisation resource.
constexpr std::size_t kInitialStateStreamSize = 340;
constexpr std::size_t kDialogInitResourceSize = 350;

// The stream for a given state, and for the program's initial state (340 bytes).
std::vector<std::uint8_t> SerializeStateStream(const PlayerInitialState& state);
std::vector<std::uint8_t> BuildInitialStateStream();

// Reads a whole stream back. Returns false, leaving out untouched, when the data is truncated,
// longer than the values it carries, or a value has an unexpected type or a bad string count.
bool ParseStateStream(const std::uint8_t* data, std::size_t size, PlayerInitialState& out);

// One dialog-initialisation record (control id, code 0x0376, 32-bit length, the stream) and the
// 16-bit 0 that ends the resource, all little-endian.
std::vector<std::uint8_t> BuildDialogInitResource(std::uint16_t controlId,
                                                  const std::vector<std::uint8_t>& stream);
