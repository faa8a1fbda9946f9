#include "pages/win32/EtcDlg.h"

#include <algorithm>

#include "localisation/LanguageTable.h"
#include "pages/PageChoices.h"
#include "pages/PageControlIds.h"
#include "pages/win32/CardFormat.h"
#include "pages/win32/PageControls.h"
#include "record/CardSession.h"
#include "resources/ResourceIds.h"
#include "skin/win32/NinePatch.h"

using namespace pagecontrols;

namespace {

constexpr std::initializer_list<int> PARTITION_RADIOS = {IDC_CARD_TYPE_A, IDC_CARD_TYPE_B, IDC_CARD_TYPE_C};

// The record field of each overwrite check box, 1320 upwards.
constexpr int32_t SetupConfig::*OVERWRITE_FIELDS[] = {
    &SetupConfig::overwrite_incident_continuous, &SetupConfig::overwrite_parking_motion,
    &SetupConfig::overwrite_parking_incident, &SetupConfig::overwrite_manual};

// Row labels and their texts, in display order.
constexpr const wchar_t* ROW_TEXT_KEYS[PARTITION_ROWS] = {L"IDS_STRING171", L"IDS_STRING172", L"IDS_STRING173",
                                                          L"IDS_STRING174", L"IDS_STRING175"};

// One bar picture per row, 175 upwards: green, yellow, orange, red, blue.
constexpr UINT FIRST_BAR_PICTURE = 175;
constexpr int BAR_HEIGHT = 15;
constexpr int ROW_PITCH = 30;

}  // namespace

CEtcDlg::CEtcDlg() : CBaseDialog(IDD_PAGE_CARD) {
    m_nScrollMax = 100;
    m_nScrollStep = 100;
}

CEtcDlg::CEtcDlg(const CCardSession& card) : CEtcDlg() { m_pCard = &card; }

const std::wstring& CEtcDlg::CardRoot() const {
    static const std::wstring none;
    return m_pCard ? m_pCard->Root() : none;
}

int CEtcDlg::FocusSinkId() const { return IDC_CARD_FOCUS_SINK; }

// --- layout ---

void CEtcDlg::BuildPage() {
    HWND page = GetSafeHwnd();
    HFONT text = m_hFontText.Get();

    PlaceHeader(IDC_CARD_PARTITION_HEADER, GetLangText(L"IDS_STRING156"), 15, 20);
    const int typeA = PlaceLabel(page, IDC_CARD_TYPE_A, GetLangText(L"IDS_STRING157"), text, 25, 45).cx;
    const int typeB = PlaceLabel(page, IDC_CARD_TYPE_B, GetLangText(L"IDS_STRING158"), text, typeA + 55, 45).cx;
    PlaceLabel(page, IDC_CARD_TYPE_C, GetLangText(L"IDS_STRING159"), text, typeA + 55 + typeB + 100, 45);

    // The percentages line up right of the widest row label.
    int widest = 0;
    for (int row = 0; row < PARTITION_ROWS; ++row) {
        const SIZE label = PlaceLabel(page, IDC_CARD_ROW_LABEL_FIRST + row, GetLangText(ROW_TEXT_KEYS[row]), text, 25,
                                      85 + ROW_PITCH * row);
        widest = std::max(widest, static_cast<int>(label.cx));
    }
    const int percentLeft = widest + 50;
    for (int row = 0; row < PARTITION_ROWS; ++row) {
        PlaceLabel(page, IDC_CARD_ROW_PERCENT_FIRST + row, L"000", text, percentLeft, 85 + ROW_PITCH * row);
    }

    PlaceHeader(IDC_CARD_FORMAT_HEADER, GetLangText(L"IDS_STRING160"), 15, 245);
    const std::wstring format = GetLangText(L"IDS_STRING161");
    HWND formatButton = GetDlgItem(page, IDC_CARD_FORMAT);
    SendMessageW(formatButton, WM_SETFONT, reinterpret_cast<WPARAM>(text), TRUE);
    SetWindowTextW(formatButton, format.c_str());
    PlaceControl(page, IDC_CARD_FORMAT, 25, 284, 6 * static_cast<int>(format.size()) + 40, 30);

    PlaceHeader(IDC_CARD_OVERWRITE_HEADER, GetLangText(L"IDS_STRING145"), 15, 334);
    PlaceLabel(page, IDC_CARD_OVERWRITE_CONTINUOUS, GetLangText(L"IDS_STRING166"), text, 25, 374);
    SetChecked(page, IDC_CARD_OVERWRITE_CONTINUOUS, true);
    Enable(page, IDC_CARD_OVERWRITE_CONTINUOUS, false);
    const wchar_t* overwriteKeys[] = {L"IDS_STRING147", L"IDS_STRING148", L"IDS_STRING149", L"IDS_STRING150"};
    for (int box = 0; box < 4; ++box) {
        PlaceLabel(page, IDC_CARD_OVERWRITE_FIRST + box, GetLangText(overwriteKeys[box]), text, 25, 399 + 25 * box);
    }

    m_nScrollMax = 67;
}

// --- showing the record ---

void CEtcDlg::LoadControls() {
    if (!g_pSetupConfig) return;
    HWND page = GetSafeHwnd();
    for (int box = 0; box < 4; ++box) {
        SetChecked(page, IDC_CARD_OVERWRITE_FIRST + box, g_pSetupConfig->*OVERWRITE_FIELDS[box] != 0);
    }
    CheckOnly(page, PARTITION_RADIOS, pagechoices::ShownOption(*g_pSetupConfig, &SetupConfig::partition_type));
    InvalidateRect(page, nullptr, TRUE);
}

// --- notifications ---

bool CEtcDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        const int id = LOWORD(wParam);
        if (id == IDC_CARD_FORMAT) {
            OnFormatButton(*this);
        } else if (g_pSetupConfig && id >= IDC_CARD_TYPE_A && id <= IDC_CARD_TYPE_C) {
            OnPartitionType(id);
        } else if (g_pSetupConfig && id >= IDC_CARD_OVERWRITE_FIRST && id <= IDC_CARD_OVERWRITE_LAST) {
            OnOverwriteCheck(id);
        } else {
            return CBaseDialog::OnMessage(message, wParam, lParam, result);
        }
        result = 0;
        return true;
    }
    return CBaseDialog::OnMessage(message, wParam, lParam, result);
}

void CEtcDlg::OnPartitionType(int id) {
    if (const std::optional<int32_t> type = pagechoices::OptionValue(&SetupConfig::partition_type, id)) {
        g_pSetupConfig->partition_type = *type;
    }
    InvalidateRect(GetSafeHwnd(), nullptr, TRUE);
}

void CEtcDlg::OnOverwriteCheck(int id) {
    g_pSetupConfig->*OVERWRITE_FIELDS[id - IDC_CARD_OVERWRITE_FIRST] = IsChecked(GetSafeHwnd(), id) ? 1 : 0;
}

// --- partition view ---

void CEtcDlg::PaintPage(HDC dc) { DrawPartitionView(dc); }

// Five bars, one per recording kind, right of the percentages and below the type radios;
// both are read from the controls, so the view moves with the page when it scrolls.
void CEtcDlg::DrawPartitionView(HDC dc) {
    HWND page = GetSafeHwnd();
    const PartitionShareRow& shares = PartitionSharesOf(g_pSetupConfig ? g_pSetupConfig->partition_type : 0);

    RECT percent{};
    RECT radio{};
    GetWindowRect(GetDlgItem(page, IDC_CARD_ROW_PERCENT_FIRST), &percent);
    GetWindowRect(GetDlgItem(page, IDC_CARD_TYPE_A), &radio);
    MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&percent), 2);
    MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&radio), 2);
    const int left = percent.right + m_scale.Scale(10);
    const int top = radio.bottom + m_scale.Scale(21);
    const int pitch = m_scale.Scale(ROW_PITCH);
    const int barHeight = m_scale.Scale(BAR_HEIGHT);

    std::array<int, PARTITION_ROWS> widths{};
    for (size_t row = 0; row < PARTITION_ROWS; ++row) widths[row] = m_scale.Scale(PartitionBarWidth(shares[row]));
    BuildPartitionBars(widths);

    for (size_t row = 0; row < PARTITION_ROWS; ++row) {
        const CMemSurface& bar = m_arrBarSurfaces[row];
        if (bar.IsCreated()) {
            BitBlt(dc, left, top + pitch * static_cast<int>(row), widths[row], barHeight, bar.GetDC(), 0, 0, SRCCOPY);
        }
        // Setting an unchanged text would only repaint the label again.
        const int id = IDC_CARD_ROW_PERCENT_FIRST + static_cast<int>(row);
        const std::wstring text = PartitionPercentText(shares[row]);
        wchar_t shown[32] = {};
        GetDlgItemTextW(page, id, shown, static_cast<int>(std::size(shown)));
        if (text != shown) SetDlgItemTextW(page, id, text.c_str());
    }
}

// A bar is painted again only when its width changes; a bar that cannot be made stays undrawn.
void CEtcDlg::BuildPartitionBars(const std::array<int, PARTITION_ROWS>& widths) {
    win32::WindowDC dc(GetSafeHwnd());
    CNinePatch painter = CNinePatch::ForDpi(m_scale.Dpi());
    const int barHeight = m_scale.Scale(BAR_HEIGHT);
    for (size_t row = 0; row < PARTITION_ROWS; ++row) {
        CMemSurface& bar = m_arrBarSurfaces[row];
        if (bar.IsCreated() && bar.GetWidth() == widths[row] && bar.GetHeight() == barHeight) continue;
        bar.Destroy();
        if (widths[row] <= 0 || !bar.Create(dc.Get(), widths[row], barHeight)) continue;
        painter.Paint(bar, FIRST_BAR_PICTURE + static_cast<UINT>(row));
    }
}
