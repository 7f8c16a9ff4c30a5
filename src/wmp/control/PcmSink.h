// The renderer at the end of a sound-only graph: a DirectShow filter with one input pin that hands
// the decoded PCM to the control's sound output instead of playing it itself.
#pragma once

#include <windows.h>
#include <dshow.h>

#include <cstdint>
#include <string>
#include <vector>

#include "wmp/logic/PcmQueue.h"

class CSoundOutput;

class CPcmSink final : public IBaseFilter {
public:
    // A new sink with one reference. control receives kMsgRunDecoded after the last sample.
    static CPcmSink* Create(HWND control, CSoundOutput* output);

    // The run that the sound of the next Run is queued under.
    void SetRun(std::uint32_t run);

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    // IPersist
    HRESULT STDMETHODCALLTYPE GetClassID(CLSID* id) override;
    // IMediaFilter
    HRESULT STDMETHODCALLTYPE Stop() override;
    HRESULT STDMETHODCALLTYPE Pause() override;
    HRESULT STDMETHODCALLTYPE Run(REFERENCE_TIME start) override;
    HRESULT STDMETHODCALLTYPE GetState(DWORD timeoutMs, FILTER_STATE* state) override;
    HRESULT STDMETHODCALLTYPE SetSyncSource(IReferenceClock* clock) override;
    HRESULT STDMETHODCALLTYPE GetSyncSource(IReferenceClock** clock) override;
    // IBaseFilter
    HRESULT STDMETHODCALLTYPE EnumPins(IEnumPins** pins) override;
    HRESULT STDMETHODCALLTYPE FindPin(LPCWSTR id, IPin** pin) override;
    HRESULT STDMETHODCALLTYPE QueryFilterInfo(FILTER_INFO* info) override;
    HRESULT STDMETHODCALLTYPE JoinFilterGraph(IFilterGraph* graph, LPCWSTR name) override;
    HRESULT STDMETHODCALLTYPE QueryVendorInfo(LPWSTR* info) override;

private:
    class CInputPin;
    friend class CInputPin;
    CPcmSink(HWND control, CSoundOutput* output);
    ~CPcmSink();
    CPcmSink(const CPcmSink&) = delete;
    CPcmSink& operator=(const CPcmSink&) = delete;

    HRESULT Receive(IMediaSample* sample);
    void EndOfStream();
    void SetFlushing(bool flushing);

    LONG m_refs = 1;
    HWND m_control;
    CSoundOutput* m_output;
    CInputPin* m_pin;
    CRITICAL_SECTION m_lock;
    HANDLE m_notPaused;        // set while the filter is stopped or running
    volatile LONG m_abort = 1; // a Receive in progress gives up: stopped or flushing
    FILTER_STATE m_state = State_Stopped;
    IFilterGraph* m_graph = nullptr; // not held: the graph holds the filter
    std::wstring m_name;
    IReferenceClock* m_clock = nullptr;
    std::uint32_t m_run = 0;
    bool m_endSent = false;
    bool m_flushing = false;
};
