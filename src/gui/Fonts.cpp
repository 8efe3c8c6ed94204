#include "gui/Fonts.h"

#include <map>
#include <string>
#include <tuple>

#include "base/Handles.h"

namespace gui {

HFONT GetFont(const FontStyle& style) {
    using Key = std::tuple<std::wstring, int, BYTE, bool>;
    static std::map<Key, base::GdiObject> fonts;
    const Key key{style.face, style.height, style.charset, style.bold};
    auto it = fonts.find(key);
    if (it == fonts.end()) {
        LOGFONTW lf{};
        lf.lfHeight = -style.height;
        lf.lfWeight = style.bold ? FW_BOLD : FW_NORMAL;
        lf.lfCharSet = style.charset;
        lf.lfQuality = DEFAULT_QUALITY;
        lstrcpynW(lf.lfFaceName, style.face, LF_FACESIZE);
        it = fonts.emplace(key, base::GdiObject(::CreateFontIndirectW(&lf))).first;
    }
    return static_cast<HFONT>(it->second.get());
}

int PointsToPixels(int points) {
    base::WindowDC dc(nullptr);
    return ::MulDiv(points, ::GetDeviceCaps(dc.get(), LOGPIXELSY), 72);
}

}  // namespace gui
