#include "toolkit/measure_win32.h"

#include "toolkit/handles_win32.h"

namespace toolkit::win32 {

wSize textExtent(HFONT font, const std::wstring& text) {
    ScreenDC dc;
    SelectedObject selected(dc.get(), font);
    if (text.empty()) {
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc.get(), &metrics);
        return {0, metrics.tmHeight};
    }
    RECT rect{0, 0, 0, 0};
    DrawTextW(dc.get(), text.c_str(), int(text.size()), &rect, DT_CALCRECT | DT_EXPANDTABS);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

wSize pushButtonSize(HFONT font) {
    static const wchar_t letters[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    ScreenDC dc;
    SelectedObject selected(dc.get(), font);
    SIZE extent{};
    GetTextExtentPoint32W(dc.get(), letters, 52, &extent);
    const int averageWidth = (extent.cx / 26 + 1) / 2;
    return {MulDiv(averageWidth, 50, 4), MulDiv(extent.cy, 14, 8)};
}

int comboBoxHeight(HFONT font) {
    WindowHandle combo(CreateWindowExW(0, L"ComboBox", L"", WS_POPUP | CBS_DROPDOWNLIST, 0, 0, 100, 100, nullptr,
                                       nullptr, GetModuleHandleW(nullptr), nullptr));
    if (!combo) return 0;
    SendMessageW(combo.get(), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    RECT rect{};
    GetWindowRect(combo.get(), &rect);
    return rect.bottom - rect.top;
}

}  // namespace toolkit::win32
