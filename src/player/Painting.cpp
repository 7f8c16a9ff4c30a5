// CPlayerDlg painting: the knob, the bars and their symbols, the status line, colours and moves.
#include "app/PlayerApp.h"
#include "player/PlayerDlg.h"
#include "player/logic/Layout.h"
#include "player/logic/StatusText.h"
#include "resource.h"
#include "ticker/Tobrick.h"

namespace {

const COLORREF kOuterDisc = RGB(130, 130, 220);
const COLORREF kInnerDisc = RGB(160, 160, 220);
const COLORREF kBars = RGB(190, 190, 255);
const COLORREF kSymbols = RGB(200, 60, 0);
const COLORREF kOutline = RGB(200, 200, 235);

// The knob's symbols: each a polyline drawn with the symbol pen.
struct SymbolLine {
    int count;
    POINT points[4];
};
const SymbolLine kSymbolLines[] = {
    {2, {{388, 178}, {398, 178}}},                          // plus
    {2, {{393, 173}, {393, 182}}},
    {2, {{388, 218}, {398, 218}}},                          // minus
    {4, {{369, 193}, {369, 203}, {373, 198}, {369, 193}}},  // left side: two right-pointing triangles
    {4, {{374, 193}, {374, 203}, {378, 198}, {374, 192}}},
    {4, {{419, 193}, {419, 203}, {415, 198}, {419, 193}}},  // right side: two left-pointing triangles
    {4, {{414, 193}, {414, 203}, {410, 198}, {414, 193}}},
    {4, {{388, 194}, {388, 202}, {391, 198}, {388, 194}}},  // centre: play sign
    {2, {{393, 202}, {394, 194}}},                          // and stroke
};
const RECT kStopSign[] = {{398, 196, 402, 203}, {399, 198, 401, 200}, {399, 201, 401, 203}};

RECT ToRect(const layout::Edges& edges) { return {edges.left, edges.top, edges.right, edges.bottom}; }

}  // namespace

void CPlayerDlg::OnPaint()
{
    {
        CPaintDC dc(m_hWnd);
        CBrush outerBrush(kOuterDisc);
        CBrush innerBrush(kInnerDisc);
        CBrush barBrush(kBars);
        CPen symbolPen(PS_SOLID, 2, kSymbols);
        CPen outlinePen(PS_SOLID, 1, kOutline);
        {
            CSelectObject selectPen(dc, outlinePen);
            {
                CSelectObject selectBrush(dc, outerBrush);
                ::Ellipse(dc, 365, 170, 424, 226);
                selectBrush.Select(innerBrush);
                ::Ellipse(dc, 380, 184, 410, 213);
                selectBrush.Select(barBrush);
                ::Rectangle(dc, 150, 170, 348, 176);
                ::Rectangle(dc, 150, 220, 348, 230);
            }
            selectPen.Select(symbolPen);
            for (const SymbolLine& line : kSymbolLines) {
                ::MoveToEx(dc, line.points[0].x, line.points[0].y, nullptr);
                for (int i = 1; i < line.count; ++i)
                    ::LineTo(dc, line.points[i].x, line.points[i].y);
            }
            for (const RECT& r : kStopSign)
                ::Rectangle(dc, r.left, r.top, r.right, r.bottom);
        }
        m_rcVolUp = ToRect(layout::kKnobVolumeUp);
        m_rcVolDown = ToRect(layout::kKnobVolumeDown);
        m_rcLeft = ToRect(layout::kKnobNext);
        m_rcRight = ToRect(layout::kKnobBack);
        m_rcPlay = ToRect(layout::kKnobCentre);
    }
    Default();
}

void CPlayerDlg::DrawStatusText(bool highlight)
{
    HWND box = GetDlgItem(IDC_STATUS);
    if (!box)
        return;
    RECT client{};
    ::GetClientRect(box, &client);
    const COLORREF text = highlight ? RGB(0, 0, 0) : RGB(0, 0, 255);
    const COLORREF fill = highlight ? RGB(0, 0, 255) : RGB(0, 0, 0);
    {
        CClientDC dc(box);
        // Statics draw with their parent's clipping (CS_PARENTDC): without this a line of wide
        // letters would run on over the skin beside the box. The next GetDC starts without this clip.
        ::IntersectClipRect(dc, client.left, client.top, client.right, client.bottom);
        CSelectObject selectFont(dc, g_statusFont);
        ::SetTextColor(dc, text);
        ::SetBkColor(dc, fill);
        CBrush brush(fill);
        CSelectObject selectBrush(dc, brush);
        ::FillRect(dc, &client, brush);
        ShortenStatusText(m_statusText);
        ::TextOutA(dc, 8, 8, m_statusText.c_str(), static_cast<int>(m_statusText.size()));
    }
    // The box's window text mirrors the line for screen readers; set without repainting the box.
    ::DefWindowProcA(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(m_statusText.c_str()));
}

HBRUSH CPlayerDlg::OnCtlColor(HDC dc, HWND, UINT kind)
{
    auto defaultBrush = reinterpret_cast<HBRUSH>(Default());
    if (kind != CTLCOLOR_DLG)
        return defaultBrush;
    ::SetTextColor(dc, RGB(0, 0, 0));
    ::SetBkColor(dc, RGB(160, 180, 220));
    return m_backgroundBrush;
}

void CPlayerDlg::OnMove(int x, int y)
{
    Default();
    if (IsWindowVisible() && m_pTicker && m_pTicker->IsWindowVisible())
        m_pTicker->SetWindowPos(HWND_TOPMOST, x + layout::kTickerFromPlayer.x, y + layout::kTickerFromPlayer.y,
                                layout::kTickerFromPlayer.cx, layout::kTickerFromPlayer.cy,
                                SWP_SHOWWINDOW | SWP_NOACTIVATE);
}
