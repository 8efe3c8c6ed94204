#include "sysops/ReleaseRecord.h"

#include <windows.h>
// windows.h first: msxml2.h depends on it.
#include <msxml2.h>
#include <oleauto.h>

#include "base/ComError.h"
#include "base/Error.h"
#include "base/FileSystem.h"
#include "base/Handles.h"
#include "base/Text.h"

namespace sysops {
namespace {

// The DOM document class and its IXMLDOMDocument2 interface.
constexpr CLSID kDomDocumentClass = {0xF6D90F11, 0x9C73, 0x11D3, {0xB3, 0x2E, 0x00, 0xC0, 0x4F, 0x99, 0x0B, 0xB4}};
constexpr IID kDomDocument2Interface = {0x2933BF95, 0x7B36, 0x11D2, {0xB2, 0x0E, 0x00, 0xC0, 0x4F, 0x98, 0x3E, 0x60}};

class Bstr {
public:
    explicit Bstr(const std::wstring& text) : b_(SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {
        if (!b_) base::RaiseComError(E_OUTOFMEMORY);
    }
    Bstr() = default;
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    ~Bstr() { SysFreeString(b_); }
    BSTR get() const { return b_; }
    BSTR* put() {
        SysFreeString(b_);
        b_ = nullptr;
        return &b_;
    }
    std::wstring str() const { return b_ ? std::wstring(b_, SysStringLen(b_)) : std::wstring(); }

private:
    BSTR b_ = nullptr;
};

class Variant {
public:
    Variant() { VariantInit(&v_); }
    explicit Variant(const std::wstring& text) : Variant() {
        v_.bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
        if (!v_.bstrVal) base::RaiseComError(E_OUTOFMEMORY);
        v_.vt = VT_BSTR;
    }
    explicit Variant(bool value) : Variant() {
        v_.vt = VT_BOOL;
        v_.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
    ~Variant() { VariantClear(&v_); }
    VARIANT& get() { return v_; }
    VARIANT* put() {
        VariantClear(&v_);
        return &v_;
    }

private:
    VARIANT v_;
};

base::ComPtr<IXMLDOMDocument2> CreateDocument() {
    base::ComPtr<IXMLDOMDocument2> doc;
    base::CheckCom(
        CoCreateInstance(kDomDocumentClass, nullptr, CLSCTX_INPROC_SERVER, kDomDocument2Interface, doc.put_void()));
    base::CheckCom(doc->put_async(VARIANT_FALSE));
    // The record is plain data: nothing outside the file is fetched, nothing is validated or run.
    // Not every version of the service knows every property, so refusals are ignored.
    (void)doc->put_validateOnParse(VARIANT_FALSE);
    (void)doc->put_resolveExternals(VARIANT_FALSE);
    Variant prohibit(true), allow(false);
    (void)doc->setProperty(Bstr(L"ProhibitDTD").get(), prohibit.get());
    (void)doc->setProperty(Bstr(L"AllowDocumentFunction").get(), allow.get());
    return doc;
}

// A failed load answers S_FALSE (or an error) and leaves an empty document.
void Load(IXMLDOMDocument2* doc, const std::wstring& path) {
    Variant source(path);
    VARIANT_BOOL loaded = VARIANT_FALSE;
    const HRESULT hr = doc->load(source.get(), &loaded);
    if (hr == S_OK && loaded == VARIANT_TRUE) return;
    if (FAILED(hr)) base::RaiseComError(hr);
    Bstr reason;
    base::ComPtr<IXMLDOMParseError> parseError;
    if (SUCCEEDED(doc->get_parseError(parseError.put())) && parseError) (void)parseError->get_reason(reason.put());
    std::wstring text = base::Trim(reason.str());
    throw base::Error(text.empty() ? L"the record cannot be read" : text);
}

base::ComPtr<IXMLDOMNode> SelectNode(IXMLDOMNode* from, const wchar_t* query) {
    base::ComPtr<IXMLDOMNode> node;
    base::CheckCom(from->selectSingleNode(Bstr(query).get(), node.put()));
    return node;
}

// Where the encoding value of a declaration starts (npos when none is named), and its length.
size_t FindEncodingValue(const std::wstring& declaration, size_t& length) {
    size_t at = declaration.find(L"encoding");
    if (at == std::wstring::npos) return std::wstring::npos;
    at = declaration.find_first_of(L"\"'", at);
    if (at == std::wstring::npos) return std::wstring::npos;
    const size_t end = declaration.find(declaration[at], at + 1);
    if (end == std::wstring::npos) return std::wstring::npos;
    length = end - at - 1;
    return at + 1;
}

// Some versions of the service write UTF-8 bytes whatever encoding the declaration names, so a
// record declared in another encoding would read back garbled. The record is written in UTF-8
// and its declaration says so; everything else in the declaration stays as it was.
void DeclareUtf8(IXMLDOMDocument2* doc) {
    base::ComPtr<IXMLDOMNode> first;
    DOMNodeType type = NODE_INVALID;
    Bstr name;
    if (FAILED(doc->get_firstChild(first.put())) || !first || FAILED(first->get_nodeType(&type)) ||
        type != NODE_PROCESSING_INSTRUCTION || FAILED(first->get_nodeName(name.put())) || name.str() != L"xml")
        return;
    Variant value;
    if (FAILED(first->get_nodeValue(value.put())) || value.get().vt != VT_BSTR) return;
    std::wstring declaration(value.get().bstrVal, SysStringLen(value.get().bstrVal));
    size_t length = 0;
    const size_t at = FindEncodingValue(declaration, length);
    if (at == std::wstring::npos || base::SameText(declaration.substr(at, length), L"UTF-8")) return;
    declaration.replace(at, length, L"UTF-8");
    base::ComPtr<IXMLDOMProcessingInstruction> replacement;
    base::ComPtr<IXMLDOMNode> replaced;
    if (SUCCEEDED(doc->createProcessingInstruction(name.get(), Bstr(declaration).get(), replacement.put())))
        (void)doc->replaceChild(replacement.get(), first.get(), replaced.put());
}

long long WholeNumber(IXMLDOMNode* node) {
    Variant value;
    base::CheckCom(node->get_nodeTypedValue(value.put()));
    if (value.get().vt == VT_BSTR) {
        const std::wstring text = base::Trim(std::wstring(value.get().bstrVal, SysStringLen(value.get().bstrVal)));
        const auto number = base::ParseInteger(text);
        if (!number) base::RaiseConvertError(text);
        return *number;
    }
    Variant number;
    base::CheckCom(VariantChangeType(number.put(), &value.get(), 0, VT_I8));
    return number.get().llVal;
}

void WriteLevel(const std::wstring& path, const std::wstring& level) {
    base::ComPtr<IXMLDOMDocument2> doc = CreateDocument();
    Load(doc.get(), path);

    base::ComPtr<IXMLDOMElement> element;
    base::CheckCom(doc->get_documentElement(element.put()));
    if (!element) throw base::Error(L"the record has no document element");
    base::ComPtr<IXMLDOMNode> root = SelectNode(element.get(), L"/ROOT");
    if (!root) throw base::Error(L"the record's document element is not ROOT");

    base::ComPtr<IXMLDOMNode> version = SelectNode(root.get(), L"Version");
    const long long number = version ? WholeNumber(version.get()) : 0;
    if (number != 1) throw base::Error(L"unknown release file version");

    base::ComPtr<IXMLDOMNode> levelNode = SelectNode(root.get(), L"Level");
    if (!levelNode) throw base::Error(L"the record has no Level element");
    Variant text(level);
    base::CheckCom(levelNode->put_nodeTypedValue(text.get()));

    DeclareUtf8(doc.get());
    Variant destination(path);
    base::CheckCom(doc->save(destination.get()));
}

}  // namespace

void SetReleaseLevel(const std::wstring& folder, const std::wstring& level) {
    // Declared first so that every interface is released before the apartment is left.
    base::ComApartment com;
    const std::wstring path = folder + L"ReleaseInfo";
    if (!base::FileExists(path)) throw base::Error(L"Release info file does not exist");
    try {
        WriteLevel(path, level);
    } catch (const base::Error& e) {
        throw base::Error(L"Cannot get release information, error: " + e.Message());
    }
}

}  // namespace sysops
