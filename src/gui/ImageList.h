#pragma once
// Small pictures with their own transparency (button glyphs), drawn blended
// over whatever lies beneath them.
#include <windows.h>

#include <vector>

#include "base/Handles.h"

namespace gui {

class ImageList {
public:
    explicit ImageList(int size = 16) : size_(size) {}

    // Appends the pictures of a PNG strip resource (raw data), left to right,
    // each size x size; returns the index of the first, or -1 when the
    // resource is missing or does not decode.
    int AddStrip(const wchar_t* resourceName);
    int Count() const { return static_cast<int>(images_.size()); }
    int Size() const { return size_; }
    void Draw(HDC dc, int index, int x, int y) const;

private:
    int size_;
    std::vector<base::GdiObject> images_;  // premultiplied 32-bit DIB sections
};

}  // namespace gui
