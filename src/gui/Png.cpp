#include "gui/Png.h"

#include <wincodec.h>

#include <climits>
#include <utility>

#include "base/Handles.h"

namespace gui {

namespace {

bool DecodeInto(const void* data, size_t size, Bitmap32& out) {
    if (!data || size == 0 || size > UINT_MAX) return false;
    base::ComPtr<IWICImagingFactory> factory;
    if (FAILED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                  factory.put_void())))
        return false;
    base::ComPtr<IWICStream> stream;
    if (FAILED(factory->CreateStream(stream.put())) ||
        FAILED(stream->InitializeFromMemory(static_cast<BYTE*>(const_cast<void*>(data)), static_cast<DWORD>(size))))
        return false;
    base::ComPtr<IWICBitmapDecoder> decoder;
    if (FAILED(factory->CreateDecoderFromStream(stream.get(), &GUID_ContainerFormatPng, WICDecodeMetadataCacheOnDemand,
                                                decoder.put())))
        return false;
    base::ComPtr<IWICBitmapFrameDecode> frame;
    if (FAILED(decoder->GetFrame(0, frame.put()))) return false;
    base::ComPtr<IWICFormatConverter> converter;
    if (FAILED(factory->CreateFormatConverter(converter.put())) ||
        FAILED(converter->Initialize(frame.get(), GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone, nullptr, 0.0,
                                     WICBitmapPaletteTypeCustom)))
        return false;
    UINT width = 0, height = 0;
    if (FAILED(converter->GetSize(&width, &height)) || width == 0 || height == 0 || width > 0x4000 || height > 0x4000)
        return false;
    Bitmap32 bmp(static_cast<int>(width), static_cast<int>(height));
    const UINT stride = width * sizeof(Pixel32);
    if (FAILED(converter->CopyPixels(nullptr, stride, stride * height, reinterpret_cast<BYTE*>(bmp.Data()))))
        return false;
    out = std::move(bmp);
    return true;
}

}  // namespace

bool DecodePng(const void* data, size_t size, Bitmap32& bmp) {
    return DecodeInto(data, size, bmp);
}

void FlattenOntoWhite(Bitmap32& bmp) {
    Pixel32* p = bmp.Data();
    const size_t count = static_cast<size_t>(bmp.Width()) * bmp.Height();
    for (size_t i = 0; i < count; ++i, ++p) {
        const unsigned a = p->a, rest = 255 - a;
        auto over = [&](uint8_t c) { return static_cast<uint8_t>((c * a + 255 * rest + 127) / 255); };
        *p = {over(p->b), over(p->g), over(p->r), 0xFF};
    }
}

bool LoadPngResource(Bitmap32& bmp, const wchar_t* resourceName) {
    const HMODULE module = ::GetModuleHandleW(nullptr);
    const HRSRC info = ::FindResourceW(module, resourceName, RT_RCDATA);
    if (!info) return false;
    const HGLOBAL loaded = ::LoadResource(module, info);
    const void* data = loaded ? ::LockResource(loaded) : nullptr;
    Bitmap32 picture;
    if (!data || !DecodeInto(data, ::SizeofResource(module, info), picture)) return false;
    FlattenOntoWhite(picture);
    bmp = std::move(picture);
    return true;
}

}  // namespace gui
