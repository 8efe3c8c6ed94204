#include <gtest/gtest.h>
#include <windows.h>
// windows.h first: msxml2.h depends on it.
#include <msxml2.h>

#include <thread>

#include "TestSupport.h"
#include "base/Error.h"
#include "base/Handles.h"
#include "base/Text.h"
#include "sysops/ReleaseRecord.h"

using namespace sysops;
using testsupport::ReadFile;
using testsupport::TempDir;
using testsupport::WriteFile;

namespace {

const std::wstring kPrefix = L"Cannot get release information, error: ";

std::wstring RaisedText(const TempDir& dir, const std::wstring& level) {
    try {
        SetReleaseLevel(dir.Path(), level);
    } catch (const base::Error& e) {
        return e.Message();
    }
    return L"(nothing raised)";
}

// The text of one node of an XML file, read with the DOM document class the program uses.
std::wstring ReadBack(const std::wstring& path, const wchar_t* query) {
    static constexpr CLSID kDomDocument = {
        0xF6D90F11, 0x9C73, 0x11D3, {0xB3, 0x2E, 0x00, 0xC0, 0x4F, 0x99, 0x0B, 0xB4}};
    base::ComPtr<IXMLDOMDocument> doc;
    if (FAILED(CoCreateInstance(kDomDocument, nullptr, CLSCTX_INPROC_SERVER, IID_IXMLDOMDocument, doc.put_void())))
        return L"(no DOM document)";
    doc->put_async(VARIANT_FALSE);
    VARIANT source;
    source.vt = VT_BSTR;
    source.bstrVal = SysAllocString(path.c_str());
    VARIANT_BOOL loaded = VARIANT_FALSE;
    doc->load(source, &loaded);
    VariantClear(&source);
    BSTR q = SysAllocString(query);
    base::ComPtr<IXMLDOMNode> node;
    doc->selectSingleNode(q, node.put());
    SysFreeString(q);
    if (!node) return L"(no node)";
    BSTR text = nullptr;
    node->get_text(&text);
    std::wstring result = text ? text : L"";
    SysFreeString(text);
    return result;
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

}  // namespace

TEST(SetReleaseLevel, ReplacesTheLevelAndKeepsEverythingElse) {
    TempDir dir;
    WriteFile(dir / L"ReleaseInfo",
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
              "<ROOT build=\"7\">\r\n"
              "  <Version>1</Version>\r\n"
              "  <Level>R010120 old</Level>\r\n"
              "  <Notes lang=\"ru\">\xD0\x9A\xD0\xBE\xD0\xBC\xD0\xBF\xD0\xBB\xD0\xB5\xD0\xBA\xD1\x81</Notes>\r\n"
              "  <!-- kept -->\r\n"
              "</ROOT>\r\n");
    SetReleaseLevel(dir.Path(), L"150320");
    const std::string after = ReadFile(dir / L"ReleaseInfo");
    EXPECT_TRUE(Contains(after, "<Level>150320</Level>")) << after;
    EXPECT_FALSE(Contains(after, "old")) << after;
    for (const char* kept :
         {"<?xml version=\"1.0\"", "<ROOT build=\"7\">", "<Version>1</Version>",
          "<Notes lang=\"ru\">\xD0\x9A\xD0\xBE\xD0\xBC\xD0\xBF\xD0\xBB\xD0\xB5\xD0\xBA\xD1\x81</Notes>",
          "<!-- kept -->"})
        EXPECT_TRUE(Contains(after, kept)) << kept << "\n" << after;
}

TEST(SetReleaseLevel, EmptyLevelLeavesTheElementEmpty) {
    TempDir dir;
    WriteFile(dir / L"ReleaseInfo", "<ROOT><Version>1</Version><Level>150320</Level></ROOT>");
    SetReleaseLevel(dir.Path(), L"");
    const std::string after = ReadFile(dir / L"ReleaseInfo");
    EXPECT_TRUE(Contains(after, "<Level/>") || Contains(after, "<Level></Level>")) << after;
    EXPECT_FALSE(Contains(after, "150320")) << after;
}

TEST(SetReleaseLevel, MissingRecordIsReportedUnwrapped) {
    TempDir dir;
    EXPECT_EQ(RaisedText(dir, L"150320"), L"Release info file does not exist");
    CreateDirectoryW((dir / L"ReleaseInfo").c_str(), nullptr);
    EXPECT_EQ(RaisedText(dir, L"150320"), L"Release info file does not exist");
}

TEST(SetReleaseLevel, RefusedRecordsStayUnchanged) {
    struct Case {
        const char* record;
        std::wstring message;  // the whole message, or only the prefix when empty
    } cases[] = {
        {"<ROOT><Version>2</Version><Level>1</Level></ROOT>", kPrefix + L"unknown release file version"},
        {"<ROOT><Level>1</Level></ROOT>", kPrefix + L"unknown release file version"},
        {"<ROOT><Version>one</Version><Level>1</Level></ROOT>", L""},
        {"<ROOT><Version>1</Version><Level>1</Level>", L""},
        {"", L""},
        {"<OTHER><Version>1</Version><Level>1</Level></OTHER>", L""},
        {"<ROOT><Version>1</Version></ROOT>", L""},
    };
    for (const auto& c : cases) {
        TempDir dir;
        WriteFile(dir / L"ReleaseInfo", c.record);
        const std::wstring message = RaisedText(dir, L"150320");
        if (c.message.empty())
            EXPECT_EQ(message.rfind(kPrefix, 0), 0u) << c.record << " -> " << base::ToUtf8(message);
        else
            EXPECT_EQ(message, c.message) << c.record;
        EXPECT_EQ(ReadFile(dir / L"ReleaseInfo"), c.record);
    }
}

TEST(SetReleaseLevel, NeverReadsFilesTheRecordPointsTo) {
    TempDir dir;
    WriteFile(dir / L"secret.txt", "secret");
    const std::string record = "<?xml version=\"1.0\"?>\n<!DOCTYPE ROOT [<!ENTITY x SYSTEM \"" +
                               base::ToUtf8(dir / L"secret.txt") +
                               "\">]>\n<ROOT><Version>1</Version><Level>1</Level><Notes>&x;</Notes></ROOT>";
    WriteFile(dir / L"ReleaseInfo", record);
    const std::wstring message = RaisedText(dir, L"150320");
    EXPECT_FALSE(Contains(ReadFile(dir / L"ReleaseInfo"), "<Notes>secret")) << base::ToUtf8(message);
}

// A record declared in another encoding reads back the same after the update.
TEST(SetReleaseLevel, KeepsTheContentOfARecordInAnotherEncoding) {
    TempDir dir;
    WriteFile(dir / L"ReleaseInfo",
              "<?xml version=\"1.0\" encoding=\"windows-1251\"?>\r\n"
              "<ROOT><Version>1</Version><Level>1</Level><Notes>\xCA\xEE\xEC\xEF\xEB\xE5\xEA\xF1</Notes></ROOT>\r\n");
    SetReleaseLevel(dir.Path(), L"150320");
    EXPECT_EQ(ReadBack(dir / L"ReleaseInfo", L"/ROOT/Notes"), L"Комплекс") << ReadFile(dir / L"ReleaseInfo");
    EXPECT_EQ(ReadBack(dir / L"ReleaseInfo", L"/ROOT/Level"), L"150320");
}

// The routine brings its own COM initialisation and gives it back.
TEST(SetReleaseLevel, WorksOnAThreadWithoutComAndLeavesItUninitialised) {
    TempDir dir;
    WriteFile(dir / L"ReleaseInfo", "<ROOT><Version>1</Version><Level>1</Level></ROOT>");
    std::wstring error;
    HRESULT after = E_FAIL;
    std::thread worker([&] {
        try {
            SetReleaseLevel(dir.Path(), L"200315");
        } catch (const base::Error& e) {
            error = e.Message();
        }
        after = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        if (SUCCEEDED(after)) CoUninitialize();
    });
    worker.join();
    EXPECT_EQ(error, L"");
    EXPECT_EQ(after, S_OK);
    EXPECT_TRUE(Contains(ReadFile(dir / L"ReleaseInfo"), "<Level>200315</Level>"));
}
