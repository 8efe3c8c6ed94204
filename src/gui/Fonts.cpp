#include "gui/Fonts.h"

#include <map>
#include <string>
#include <tuple>

#include "base/Handles.h"

namespace gui {

HFONT GetFont(const FontSpec& spec) {
    using Key = std::tuple<std::wstring, int, BYTE, bool>;
    static std::map<Key, base::GdiObject> fonts;
    const Key key{spec.face, spec.height, spec.charset, spec.bold};
    auto it = fonts.find(key);
    if (it == fonts.end()) {
        LOGFONTW lf{};
        lf.lfHeight = -spec.height;
        lf.lfWeight = spec.bold ? FW_BOLD : FW_NORMAL;
        lf.lfCharSet = spec.charset;
        lf.lfQuality = DEFAULT_QUALITY;
        lstrcpynW(lf.lfFaceName, spec.face, LF_FACESIZE);
        it = fonts.emplace(key, base::GdiObject(::CreateFontIndirectW(&lf))).first;
    }
    return static_cast<HFONT>(it->second.get());
}

int PointsToPixels(int points) {
    base::WindowDC dc(nullptr);
    return ::MulDiv(points, ::GetDeviceCaps(dc.get(), LOGPIXELSY), 72);
}

}  // namespace gui
