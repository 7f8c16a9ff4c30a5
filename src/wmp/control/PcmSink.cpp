// The sound sink filter: its input pin takes integer PCM and queues it in the control's output.
#include "wmp/control/PcmSink.h"

#include <mmreg.h>

#include <cstring>

#include "wmp/control/PlayerMessages.h"
#include "wmp/control/SoundOutput.h"

namespace {

// This filter's own class (it is never registered; the control makes it).
const CLSID kSinkClassId = {0x6a1f3e52, 0x8c0d, 0x4b7e, {0x9d, 0x41, 0x2f, 0x6b, 0x5e, 0x17, 0x80, 0xc3}};
// The PCM sub-format of WAVE_FORMAT_EXTENSIBLE (KSDATAFORMAT_SUBTYPE_PCM).
const GUID kPcmSubFormat = {0x00000001, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};
const wchar_t kPinId[] = L"In";

// The sound format a media type describes, when this sink takes it.
bool FormatOf(const AM_MEDIA_TYPE* type, PcmFormat& out)
{
    if (!type || type->majortype != MEDIATYPE_Audio || type->formattype != FORMAT_WaveFormatEx ||
        !type->pbFormat || type->cbFormat < sizeof(WAVEFORMATEX))
        return false;
    const auto* wave = reinterpret_cast<const WAVEFORMATEX*>(type->pbFormat);
    bool pcm = wave->wFormatTag == WAVE_FORMAT_PCM;
    if (wave->wFormatTag == WAVE_FORMAT_EXTENSIBLE && type->cbFormat >= sizeof(WAVEFORMATEXTENSIBLE))
        pcm = reinterpret_cast<const WAVEFORMATEXTENSIBLE*>(type->pbFormat)->SubFormat == kPcmSubFormat;
    PcmFormat format;
    format.rate = wave->nSamplesPerSec;
    format.channels = wave->nChannels;
    format.bits = wave->wBitsPerSample;
    if (!pcm || !format.IsPlayable() || wave->nBlockAlign != format.FrameBytes())
        return false;
    out = format;
    return true;
}

void FreeMediaType(AM_MEDIA_TYPE* type)
{
    if (!type)
        return;
    if (type->cbFormat && type->pbFormat)
        CoTaskMemFree(type->pbFormat);
    if (type->pUnk)
        type->pUnk->Release();
    CoTaskMemFree(type);
}

// The IUnknown of a small enumerator object of one interface: its own reference count, deleted
// at the last release.
template <class Interface>
class CEnumeratorUnknown : public Interface {
public:
    virtual ~CEnumeratorUnknown() = default;
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (!out)
            return E_POINTER;
        if (iid == IID_IUnknown || iid == __uuidof(Interface)) {
            *out = static_cast<Interface*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&m_refs)); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const LONG refs = InterlockedDecrement(&m_refs);
        if (refs == 0)
            delete this;
        return static_cast<ULONG>(refs);
    }

private:
    LONG m_refs = 1;
};

// Media types this pin proposes: none (the upstream pin proposes its own).
class CNoMediaTypes final : public CEnumeratorUnknown<IEnumMediaTypes> {
public:
    HRESULT STDMETHODCALLTYPE Next(ULONG, AM_MEDIA_TYPE**, ULONG* fetched) override
    {
        if (fetched)
            *fetched = 0;
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG) override { return S_FALSE; }
    HRESULT STDMETHODCALLTYPE Reset() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Clone(IEnumMediaTypes** out) override
    {
        if (!out)
            return E_POINTER;
        *out = new CNoMediaTypes;
        return S_OK;
    }
};

// The filter's one pin.
class COnePin final : public CEnumeratorUnknown<IEnumPins> {
public:
    COnePin(IPin* pin, ULONG position) : m_pin(pin), m_position(position) { m_pin->AddRef(); }
    HRESULT STDMETHODCALLTYPE Next(ULONG count, IPin** pins, ULONG* fetched) override
    {
        if (!pins || (count > 1 && !fetched))
            return E_POINTER;
        ULONG given = 0;
        if (count > 0 && m_position == 0) {
            pins[0] = m_pin;
            m_pin->AddRef();
            m_position = 1;
            given = 1;
        }
        if (fetched)
            *fetched = given;
        return given == count ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override
    {
        if (count == 0)
            return S_OK;
        const bool skipped = m_position == 0 && count == 1;
        m_position = 1;
        return skipped ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Reset() override
    {
        m_position = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Clone(IEnumPins** out) override
    {
        if (!out)
            return E_POINTER;
        *out = new COnePin(m_pin, m_position);
        return S_OK;
    }

private:
    ~COnePin() override { m_pin->Release(); }
    IPin* m_pin;
    ULONG m_position;
};

} // namespace

// The input pin lives inside the filter and shares its reference count.
class CPcmSink::CInputPin final : public IPin, public IMemInputPin {
public:
    explicit CInputPin(CPcmSink& filter) : m_filter(filter) {}
    ~CInputPin() { Disconnect(); }
    CInputPin(const CInputPin&) = delete;
    CInputPin& operator=(const CInputPin&) = delete;

    PcmFormat Format() const { return m_format; }
    void SetFormat(const PcmFormat& format) { m_format = format; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (!out)
            return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IPin) {
            *out = static_cast<IPin*>(this);
        } else if (iid == IID_IMemInputPin) {
            *out = static_cast<IMemInputPin*>(this);
        } else {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return m_filter.AddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return m_filter.Release(); }

    // IPin
    HRESULT STDMETHODCALLTYPE Connect(IPin*, const AM_MEDIA_TYPE*) override { return E_UNEXPECTED; }
    HRESULT STDMETHODCALLTYPE ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* type) override
    {
        if (!connector || !type)
            return E_POINTER;
        if (m_connected)
            return VFW_E_ALREADY_CONNECTED;
        if (m_filter.m_state != State_Stopped)
            return VFW_E_NOT_STOPPED;
        PcmFormat format;
        if (!FormatOf(type, format))
            return VFW_E_TYPE_NOT_ACCEPTED;
        m_connected = connector;
        m_connected->AddRef();
        m_format = format;
        m_type = *type;
        m_type.pUnk = nullptr;
        m_typeFormat.assign(type->pbFormat, type->pbFormat + type->cbFormat);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Disconnect() override
    {
        if (m_allocator) {
            m_allocator->Release();
            m_allocator = nullptr;
        }
        if (!m_connected)
            return S_FALSE;
        m_connected->Release();
        m_connected = nullptr;
        m_typeFormat.clear();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ConnectedTo(IPin** pin) override
    {
        if (!pin)
            return E_POINTER;
        *pin = m_connected;
        if (!m_connected)
            return VFW_E_NOT_CONNECTED;
        m_connected->AddRef();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ConnectionMediaType(AM_MEDIA_TYPE* type) override
    {
        if (!type)
            return E_POINTER;
        if (!m_connected) {
            std::memset(type, 0, sizeof *type);
            return VFW_E_NOT_CONNECTED;
        }
        *type = m_type;
        type->pUnk = nullptr;
        type->cbFormat = static_cast<ULONG>(m_typeFormat.size());
        type->pbFormat = nullptr;
        if (!m_typeFormat.empty()) {
            type->pbFormat = static_cast<BYTE*>(CoTaskMemAlloc(m_typeFormat.size()));
            if (!type->pbFormat)
                return E_OUTOFMEMORY;
            std::memcpy(type->pbFormat, m_typeFormat.data(), m_typeFormat.size());
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE QueryPinInfo(PIN_INFO* info) override
    {
        if (!info)
            return E_POINTER;
        info->pFilter = &m_filter;
        m_filter.AddRef();
        info->dir = PINDIR_INPUT;
        lstrcpynW(info->achName, kPinId, MAX_PIN_NAME);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE QueryDirection(PIN_DIRECTION* direction) override
    {
        if (!direction)
            return E_POINTER;
        *direction = PINDIR_INPUT;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE QueryId(LPWSTR* id) override
    {
        if (!id)
            return E_POINTER;
        *id = static_cast<LPWSTR>(CoTaskMemAlloc(sizeof kPinId));
        if (!*id)
            return E_OUTOFMEMORY;
        std::memcpy(*id, kPinId, sizeof kPinId);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE QueryAccept(const AM_MEDIA_TYPE* type) override
    {
        PcmFormat format;
        return FormatOf(type, format) ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE EnumMediaTypes(IEnumMediaTypes** types) override
    {
        if (!types)
            return E_POINTER;
        *types = new CNoMediaTypes;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE QueryInternalConnections(IPin**, ULONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EndOfStream() override
    {
        m_filter.EndOfStream();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE BeginFlush() override
    {
        m_filter.SetFlushing(true);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE EndFlush() override
    {
        m_filter.SetFlushing(false);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE NewSegment(REFERENCE_TIME, REFERENCE_TIME, double) override { return S_OK; }

    // IMemInputPin
    HRESULT STDMETHODCALLTYPE GetAllocator(IMemAllocator** allocator) override
    {
        if (!allocator)
            return E_POINTER;
        *allocator = nullptr;
        return VFW_E_NO_ALLOCATOR;
    }
    HRESULT STDMETHODCALLTYPE NotifyAllocator(IMemAllocator* allocator, BOOL) override
    {
        if (!allocator)
            return E_POINTER;
        allocator->AddRef();
        if (m_allocator)
            m_allocator->Release();
        m_allocator = allocator;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetAllocatorRequirements(ALLOCATOR_PROPERTIES*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Receive(IMediaSample* sample) override { return m_filter.Receive(sample); }
    HRESULT STDMETHODCALLTYPE ReceiveMultiple(IMediaSample** samples, long count, long* processed) override
    {
        if (!samples || !processed)
            return E_POINTER;
        *processed = 0;
        HRESULT hr = S_OK;
        for (long i = 0; i < count && hr == S_OK; ++i) {
            hr = m_filter.Receive(samples[i]);
            if (hr == S_OK)
                ++*processed;
        }
        return hr;
    }
    HRESULT STDMETHODCALLTYPE ReceiveCanBlock() override { return S_OK; }

private:
    CPcmSink& m_filter;
    IPin* m_connected = nullptr;
    IMemAllocator* m_allocator = nullptr;
    AM_MEDIA_TYPE m_type{};
    std::vector<BYTE> m_typeFormat;
    PcmFormat m_format;
};

CPcmSink* CPcmSink::Create(HWND control, CSoundOutput* output)
{
    return new CPcmSink(control, output);
}

CPcmSink::CPcmSink(HWND control, CSoundOutput* output)
    : m_control(control), m_output(output), m_pin(new CInputPin(*this))
{
    InitializeCriticalSection(&m_lock);
    m_notPaused = CreateEventA(nullptr, TRUE, TRUE, nullptr);
}

CPcmSink::~CPcmSink()
{
    delete m_pin;
    if (m_clock)
        m_clock->Release();
    CloseHandle(m_notPaused);
    DeleteCriticalSection(&m_lock);
}

void CPcmSink::SetRun(std::uint32_t run)
{
    EnterCriticalSection(&m_lock);
    m_run = run;
    m_endSent = false;
    LeaveCriticalSection(&m_lock);
}

HRESULT STDMETHODCALLTYPE CPcmSink::QueryInterface(REFIID iid, void** out)
{
    if (!out)
        return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IPersist || iid == IID_IMediaFilter || iid == IID_IBaseFilter) {
        *out = static_cast<IBaseFilter*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE CPcmSink::AddRef()
{
    return static_cast<ULONG>(InterlockedIncrement(&m_refs));
}

ULONG STDMETHODCALLTYPE CPcmSink::Release()
{
    const LONG refs = InterlockedDecrement(&m_refs);
    if (refs == 0)
        delete this;
    return static_cast<ULONG>(refs);
}

HRESULT STDMETHODCALLTYPE CPcmSink::GetClassID(CLSID* id)
{
    if (!id)
        return E_POINTER;
    *id = kSinkClassId;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CPcmSink::Stop()
{
    EnterCriticalSection(&m_lock);
    m_state = State_Stopped;
    InterlockedExchange(&m_abort, 1);
    SetEvent(m_notPaused);
    LeaveCriticalSection(&m_lock);
    m_output->WakePushers(); // a Receive waiting for room gives up
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CPcmSink::Pause()
{
    EnterCriticalSection(&m_lock);
    if (m_state == State_Stopped) {
        m_endSent = false;
        if (!m_flushing)
            InterlockedExchange(&m_abort, 0);
    }
    m_state = State_Paused;
    // Samples wait for the run: the sound is queued only once the medium starts.
    ResetEvent(m_notPaused);
    LeaveCriticalSection(&m_lock);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CPcmSink::Run(REFERENCE_TIME)
{
    EnterCriticalSection(&m_lock);
    if (m_state == State_Stopped && !m_flushing)
        InterlockedExchange(&m_abort, 0);
    m_state = State_Running;
    SetEvent(m_notPaused);
    LeaveCriticalSection(&m_lock);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CPcmSink::GetState(DWORD, FILTER_STATE* state)
{
    if (!state)
        return E_POINTER;
    EnterCriticalSection(&m_lock);
    *state = m_state;
    LeaveCriticalSection(&m_lock);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CPcmSink::SetSyncSource(IReferenceClock* clock)
{
    EnterCriticalSection(&m_lock);
    if (clock)
        clock->AddRef();
    if (m_clock)
        m_clock->Release();
    m_clock = clock;
    LeaveCriticalSection(&m_lock);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CPcmSink::GetSyncSource(IReferenceClock** clock)
{
    if (!clock)
        return E_POINTER;
    EnterCriticalSection(&m_lock);
    *clock = m_clock;
    if (m_clock)
        m_clock->AddRef();
    LeaveCriticalSection(&m_lock);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CPcmSink::EnumPins(IEnumPins** pins)
{
    if (!pins)
        return E_POINTER;
    *pins = new COnePin(m_pin, 0);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CPcmSink::FindPin(LPCWSTR id, IPin** pin)
{
    if (!id || !pin)
        return E_POINTER;
    if (lstrcmpW(id, kPinId) != 0) {
        *pin = nullptr;
        return VFW_E_NOT_FOUND;
    }
    *pin = m_pin;
    m_pin->AddRef();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CPcmSink::QueryFilterInfo(FILTER_INFO* info)
{
    if (!info)
        return E_POINTER;
    lstrcpynW(info->achName, m_name.c_str(), MAX_FILTER_NAME);
    info->pGraph = m_graph;
    if (m_graph)
        m_graph->AddRef();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CPcmSink::JoinFilterGraph(IFilterGraph* graph, LPCWSTR name)
{
    m_graph = graph;
    m_name = name ? name : L"";
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CPcmSink::QueryVendorInfo(LPWSTR*)
{
    return E_NOTIMPL;
}

HRESULT CPcmSink::Receive(IMediaSample* sample)
{
    if (!sample)
        return E_POINTER;
    AM_MEDIA_TYPE* changed = nullptr;
    if (sample->GetMediaType(&changed) == S_OK && changed) {
        PcmFormat format;
        if (FormatOf(changed, format))
            m_pin->SetFormat(format);
        FreeMediaType(changed);
    }
    // A paused graph holds its first samples here until it runs.
    WaitForSingleObject(m_notPaused, INFINITE);
    EnterCriticalSection(&m_lock);
    const bool refused = m_abort || m_state == State_Stopped;
    const std::uint32_t run = m_run;
    LeaveCriticalSection(&m_lock);
    if (refused)
        return S_FALSE;
    BYTE* data = nullptr;
    if (FAILED(sample->GetPointer(&data)) || !data)
        return S_OK;
    const long size = sample->GetActualDataLength();
    if (size <= 0)
        return S_OK;
    return m_output->Push(run, m_pin->Format(), data, static_cast<size_t>(size), &m_abort) ? S_OK : S_FALSE;
}

void CPcmSink::EndOfStream()
{
    EnterCriticalSection(&m_lock);
    const bool send = !m_endSent && !m_flushing && m_state != State_Stopped;
    m_endSent = m_endSent || send;
    const std::uint32_t run = m_run;
    LeaveCriticalSection(&m_lock);
    if (send)
        PostMessageA(m_control, kMsgRunDecoded, static_cast<WPARAM>(run), 0);
}

void CPcmSink::SetFlushing(bool flushing)
{
    EnterCriticalSection(&m_lock);
    m_flushing = flushing;
    InterlockedExchange(&m_abort, flushing || m_state == State_Stopped ? 1 : 0);
    if (flushing)
        SetEvent(m_notPaused);
    else if (m_state == State_Paused)
        ResetEvent(m_notPaused);
    LeaveCriticalSection(&m_lock);
    if (flushing)
        m_output->WakePushers();
}
