// The program's own resources: string table, pictures, information document,
// and the PNG decoding they go through.
#include <gtest/gtest.h>
#include <wincodec.h>

#include <string>
#include <vector>

#include "app/ProductResources.h"
#include "app/ResourceIds.h"
#include "base/Handles.h"
#include "base/Text.h"
#include "gui/Bitmap32.h"
#include "gui/Png.h"

using app::LoadProductString;
using gui::Bitmap32;
using gui::Pixel32;

namespace {

// PNG bytes of a picture given as BGRA pixels, encoded with WIC.
std::string EncodePng(UINT width, UINT height, const std::vector<Pixel32>& pixels) {
    base::ComPtr<IWICImagingFactory> factory;
    EXPECT_HRESULT_SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                              IID_IWICImagingFactory, factory.put_void()));
    base::ComPtr<IStream> stream;
    EXPECT_HRESULT_SUCCEEDED(CreateStreamOnHGlobal(nullptr, TRUE, stream.put()));
    base::ComPtr<IWICBitmapEncoder> encoder;
    EXPECT_HRESULT_SUCCEEDED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, encoder.put()));
    EXPECT_HRESULT_SUCCEEDED(encoder->Initialize(stream.get(), WICBitmapEncoderNoCache));
    base::ComPtr<IWICBitmapFrameEncode> frame;
    EXPECT_HRESULT_SUCCEEDED(encoder->CreateNewFrame(frame.put(), nullptr));
    EXPECT_HRESULT_SUCCEEDED(frame->Initialize(nullptr));
    EXPECT_HRESULT_SUCCEEDED(frame->SetSize(width, height));
    WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGRA;
    EXPECT_HRESULT_SUCCEEDED(frame->SetPixelFormat(&format));
    EXPECT_TRUE(IsEqualGUID(format, GUID_WICPixelFormat32bppBGRA));
    const UINT stride = width * 4;
    EXPECT_HRESULT_SUCCEEDED(frame->WritePixels(height, stride, stride * height,
                                                reinterpret_cast<BYTE*>(const_cast<Pixel32*>(pixels.data()))));
    EXPECT_HRESULT_SUCCEEDED(frame->Commit());
    EXPECT_HRESULT_SUCCEEDED(encoder->Commit());
    HGLOBAL memory = nullptr;
    EXPECT_HRESULT_SUCCEEDED(GetHGlobalFromStream(stream.get(), &memory));
    STATSTG stat{};
    EXPECT_HRESULT_SUCCEEDED(stream->Stat(&stat, STATFLAG_NONAME));
    const char* bytes = static_cast<const char*>(GlobalLock(memory));
    std::string result(bytes, static_cast<size_t>(stat.cbSize.QuadPart));
    GlobalUnlock(memory);
    return result;
}

int CountTranslucent(const Bitmap32& bmp) {
    int count = 0;
    for (int y = 0; y < bmp.Height(); ++y)
        for (int x = 0; x < bmp.Width(); ++x) count += bmp.At(x, y).a != 255;
    return count;
}

bool SamePixel(Pixel32 a, Pixel32 b) {
    return a.b == b.b && a.g == b.g && a.r == b.r && a.a == b.a;
}

std::string Describe(Pixel32 p) {
    return "BGRA(" + std::to_string(p.b) + "," + std::to_string(p.g) + "," + std::to_string(p.r) + "," +
           std::to_string(p.a) + ")";
}

}  // namespace

TEST(ProductStrings, ReadBackExactly) {
    const std::pair<int, std::wstring> products[] = {
        {0, L"Holter"}, {1, L"Велтон - Dozevo"}, {2, L"Комплекс суточного мониторирования электрокардиограмм"},
        {3, L"21"},     {4, L"Shell.exe"},
    };
    for (const auto& [id, text] : products) EXPECT_EQ(LoadProductString(id), text) << "id " << id;
    for (int id = 5; id <= 21; ++id) EXPECT_FALSE(LoadProductString(id).empty()) << "id " << id;
}

TEST(ProductStrings, LongStringIsCutTo254Characters) {
    std::wstring full;
    for (int i = 0; i < 30; ++i) full += L"Ж123456789";
    const std::wstring text = LoadProductString(IDS_LONG_TEST_STRING);
    EXPECT_EQ(text.size(), 254u);
    EXPECT_EQ(text, full.substr(0, 254));
}

TEST(ProductStrings, MissingIdGivesEmptyText) {
    EXPECT_EQ(LoadProductString(22), L"");  // same block as 16..21
    EXPECT_EQ(LoadProductString(5000), L"");
    EXPECT_EQ(LoadProductString(IDS_LONG_TEST_STRING - 1), L"");
}

TEST(ProductStrings, SiblingTitleMatchIgnoresOnlyLetterCase) {
    const struct {
        const wchar_t* title;
        bool matches;
    } cases[] = {
        {L"Велтон - Dozevo", false}, {L"ларвен", true},   {L"ЛАРВЕН", true},   {L"Ларвен", true},
        {L"лАРВЕН", true},           {L"Ларвен ", false}, {L"Лар-вен", false}, {L"", false},
    };
    for (const auto& c : cases) EXPECT_EQ(app::ProductTitleMatchesSibling(c.title), c.matches) << base::ToUtf8(c.title);
}

TEST(ProductStrings, ShippedTitleLeavesBtoothFlagOff) {
    EXPECT_FALSE(app::ProductTitleMatchesSibling(LoadProductString(app::kProductTitle)));
}

TEST(ProductResources, InfoIsRussianRtfInCodePage1251) {
    const std::string rtf = app::LoadRawResource(L"INFO", app::kInfoLanguage);
    ASSERT_FALSE(rtf.empty());
    EXPECT_EQ(rtf.rfind("{\\rtf1", 0), 0u);
    EXPECT_NE(rtf.find("\\ansicpg1251"), std::string::npos);
    // A Western font charset would make the rich edit misread the Cyrillic escapes.
    EXPECT_EQ(rtf.find("\\fcharset0"), std::string::npos);
    EXPECT_EQ(app::LoadRawResource(L"NO_SUCH_RESOURCE", app::kInfoLanguage), "");
}

TEST(Pixels, ColorConversionSwapsRedAndBlueAndDropsAlpha) {
    EXPECT_EQ(gui::PixelToColor({0x30, 0x20, 0x10, 0x80}), COLORREF{0x00302010});
    EXPECT_EQ(gui::PixelToColor({235, 236, 236, 0}), RGB(236, 236, 235));
}

TEST(Png, DecodeKeepsAlphaAndFlatteningBlendsOntoWhite) {
    const std::vector<Pixel32> source = {{255, 0, 0, 128}, {10, 20, 30, 255}, {0, 0, 0, 0}};
    const std::string png = EncodePng(3, 1, source);
    Bitmap32 bmp;
    ASSERT_TRUE(gui::DecodePng(png.data(), png.size(), bmp));
    ASSERT_EQ(bmp.Width(), 3);
    ASSERT_EQ(bmp.Height(), 1);
    for (int x = 0; x < 3; ++x) EXPECT_TRUE(SamePixel(bmp.At(x, 0), source[x])) << x << ": " << Describe(bmp.At(x, 0));

    gui::FlattenOntoWhite(bmp);
    const Pixel32 expected[] = {{255, 127, 127, 255}, {10, 20, 30, 255}, {255, 255, 255, 255}};
    for (int x = 0; x < 3; ++x)
        EXPECT_TRUE(SamePixel(bmp.At(x, 0), expected[x])) << x << ": " << Describe(bmp.At(x, 0));
    EXPECT_EQ(gui::PixelToColor(bmp.At(0, 0)), RGB(127, 127, 255));
}

TEST(Png, UndecodableBytesLeaveTheBitmapAlone) {
    Bitmap32 bmp(2, 2, {1, 2, 3, 4});
    const char junk[] = "\x89PNG\r\n\x1a\n not really";
    EXPECT_FALSE(gui::DecodePng(junk, sizeof junk, bmp));
    EXPECT_FALSE(gui::DecodePng(nullptr, 0, bmp));
    EXPECT_FALSE(gui::LoadPngResource(bmp, L"NO_SUCH_PICTURE"));
    ASSERT_EQ(bmp.Width(), 2);
    EXPECT_TRUE(SamePixel(bmp.At(1, 1), {1, 2, 3, 4}));
}

TEST(Png, BackdropPicturesHaveTheirSizesAndFormatsAndLoadOpaque) {
    // PNG colour type (byte 25 of the file): 2 RGB, 6 RGBA.
    const struct {
        const wchar_t* name;
        int width, height;
        char colourType;
    } pictures[] = {
        {L"BACKGROUND", 128, 128, 2}, {L"MAIN", 958, 472, 6},      {L"LOGO", 72, 70, 6},   {L"TITLE_PNL_L", 22, 100, 6},
        {L"TITLE_PNL_R", 22, 100, 6}, {L"TITLE_PNL_M", 1, 100, 6}, {L"TITLE", 500, 66, 6},
    };
    for (const auto& p : pictures) {
        SCOPED_TRACE(base::ToUtf8(p.name));
        const std::string raw = app::LoadRawResource(p.name, MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL));
        ASSERT_GT(raw.size(), 26u);
        EXPECT_EQ(raw[25], p.colourType);
        // The pictures are drawn opaquely after flattening onto white, so any
        // transparency in the artwork would show as white on screen.
        Bitmap32 asDrawn;
        ASSERT_TRUE(gui::DecodePng(raw.data(), raw.size(), asDrawn));
        EXPECT_EQ(CountTranslucent(asDrawn), 0);
        Bitmap32 bmp;
        ASSERT_TRUE(gui::LoadPngResource(bmp, p.name));
        EXPECT_EQ(bmp.Width(), p.width);
        EXPECT_EQ(bmp.Height(), p.height);
        EXPECT_EQ(CountTranslucent(bmp), 0);
    }
}

TEST(Png, TitleTopLeftPixelGivesThePanelColour) {
    Bitmap32 title;
    ASSERT_TRUE(gui::LoadPngResource(title, L"TITLE"));
    EXPECT_EQ(gui::PixelToColor(title.At(0, 0)), RGB(236, 236, 235));
}
