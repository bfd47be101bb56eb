// JPEG decoding on Windows through OLE's picture loader, as the system was
// designed: the bytes go into a global memory block, a stream over it, and
// OleLoadPicture decodes them into a bitmap, whose pixels GetDIBits hands
// back as 32-bit rows top row first whatever the loader made (Windows makes
// a 24-bit DIB section, Wine a 32-bit one).
#include "render/JpegDecoder.h"

#include <windows.h>
// ole2.h and olectl.h need windows.h first.
#include <ole2.h>
#include <olectl.h>

#include <string.h>

namespace
{

// OleLoadPicture may create its decoder through COM (Wine's does); COM stays
// initialised on the window thread for the rest of the run.
void initialiseCom()
{
    static const HRESULT s_result = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    static_cast<void>(s_result);
}

IPicture* loadPicture(const uint8_t* a_data, uint32_t a_size)
{
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, a_size);
    if (!block)
        return nullptr;
    void* bytes = GlobalLock(block);
    if (!bytes)
    {
        GlobalFree(block);
        return nullptr;
    }
    memcpy(bytes, a_data, a_size);
    GlobalUnlock(block);

    IStream* stream = nullptr;
    IPicture* picture = nullptr;
    // The stream does not free the block (FALSE); it is freed below.
    if (CreateStreamOnHGlobal(block, FALSE, &stream) == S_OK)
    {
        void* loaded = nullptr;
        if (OleLoadPicture(stream, static_cast<LONG>(a_size), FALSE, IID_IPicture, &loaded) != S_OK)
            loaded = nullptr;
        picture = static_cast<IPicture*>(loaded);
        stream->Release();
    }
    GlobalFree(block);
    return picture;
}

std::unique_ptr<Image> readPixels(IPicture* a_picture)
{
    SHORT type = PICTYPE_UNINITIALIZED;
    OLE_HANDLE handle = 0;
    if (a_picture->get_Type(&type) != S_OK || type != PICTYPE_BITMAP ||
        a_picture->get_Handle(&handle) != S_OK)
        return nullptr;
    HBITMAP bitmap = reinterpret_cast<HBITMAP>(static_cast<uintptr_t>(handle));
    BITMAP description = {};
    if (GetObjectA(bitmap, sizeof(description), &description) != sizeof(description) ||
        description.bmWidth <= 0 || description.bmHeight <= 0 ||
        static_cast<uint32_t>(description.bmWidth) > kMaxJpegSide ||
        static_cast<uint32_t>(description.bmHeight) > kMaxJpegSide)
        return nullptr;
    std::unique_ptr<Image> image = Image::create(description.bmWidth, description.bmHeight);
    if (!image)
        return nullptr;

    BITMAPINFO format = {};
    format.bmiHeader.biSize = sizeof(format.bmiHeader);
    format.bmiHeader.biWidth = image->width;
    format.bmiHeader.biHeight = -image->height;  // top row first
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    HDC screen = GetDC(nullptr);
    const int rows = GetDIBits(screen, bitmap, 0, static_cast<UINT>(image->height),
                               image->pixels.get(), &format, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    if (rows != image->height)
        return nullptr;
    // Blue, green, red and an unused byte: 0x00RRGGBB once the top byte is
    // cleared.
    const size_t count = size_t(image->width) * size_t(image->height);
    for (size_t i = 0; i < count; ++i)
        image->pixels[i] &= 0x00FFFFFFu;
    return image;
}

}

std::unique_ptr<Image> decodeJpeg(const uint8_t* a_data, uint32_t a_size)
{
    // OLE loads bitmaps, icons and GIFs as well; only JPEG files (their
    // start-of-image marker first) are pictures here.
    if (!a_data || a_size < 2 || a_data[0] != 0xFF || a_data[1] != 0xD8)
        return nullptr;
    initialiseCom();
    IPicture* picture = loadPicture(a_data, a_size);
    if (!picture)
        return nullptr;
    std::unique_ptr<Image> image = readPixels(picture);
    picture->Release();
    return image;
}
