#include "base/Error.h"

#include "base/Text.h"

namespace base {

Error::Error(std::wstring message) : message_(std::move(message)), utf8_(ToUtf8(message_)) {}

void RaiseListIndexError(int index) {
    throw Error(L"List index out of bounds (" + std::to_wstring(index) + L")");
}

void RaiseConvertError(const std::wstring& text) {
    throw Error(L"'" + text + L"' is not a valid integer value");
}

}  // namespace base
