#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

#include "engine/HklmString.h"
#include "engine/UrlList.h"
#include "fakes/FakeRegistry.h"
#include "net/DownloadClient.h"

namespace {

// A URL list as the worker has it: an opened local copy.
struct ListFile {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file{std::tmpfile(), &std::fclose};
  explicit ListFile(const std::string& bytes) {
    std::fwrite(bytes.data(), 1, bytes.size(), file.get());
    std::rewind(file.get());
  }
  std::FILE* get() const { return file.get(); }
};

struct LookupCase {
  const char* name;
  std::string list;
  const char* key;
  const char* expected;
};

const std::string kWellFormed =
    "CVN_ISS,http://h/c.iss\r\nCVN_EXE,http://h/c.exe\r\nTSL_ISS,http://h/t.iss\r\n"
    "TSL_EXE,http://h/t.exe\r\n";

const LookupCase kLookupCases[] = {
    LookupCase{"CrLf", kWellFormed, "TSL_ISS", "http://h/t.iss"},
    LookupCase{"Lf", "CVN_ISS,http://h/c.iss\nCVN_EXE,http://h/c.exe\n", "CVN_EXE",
               "http://h/c.exe"},
    LookupCase{"SeveralOnOneLine", "CVN_ISS,a \t CVN_EXE,b\vTSL_ISS,c\fTSL_EXE,d", "TSL_ISS", "c"},
    LookupCase{"LeadingAndTrailingSeparators", "\r\n \t\nCVN_EXE,b \r\n\r\n", "CVN_EXE", "b"},
    LookupCase{"LastEntryWithoutLineEnd", "CVN_ISS,a\nTSL_EXE,http://h/t.exe", "TSL_EXE",
               "http://h/t.exe"},
    LookupCase{"FirstOfDuplicatesCounts", "CVN_ISS,first\nCVN_ISS,second\n", "CVN_ISS", "first"},
    LookupCase{"AnEmptyFirstEntryStillCounts", "CVN_EXE,\nCVN_EXE,http://h/c.exe\n", "CVN_EXE", ""},
    LookupCase{"ValueKeepsLaterCommas", "CVN_EXE,http://h/a,b,,c.exe\n", "CVN_EXE",
               "http://h/a,b,,c.exe"},
    LookupCase{"KeyIsCaseSensitive", "cvn_iss,http://h/c.iss\n", "CVN_ISS", ""},
    LookupCase{"KeyMustMatchWhole", "CVN_ISSX,x\nCVN_IS,y\nXCVN_ISS,z\n", "CVN_ISS", ""},
    LookupCase{"BlankBeforeComma", "CVN_ISS ,http://h/c.iss\n", "CVN_ISS", ""},
    LookupCase{"BlankAfterComma", "CVN_ISS, http://h/c.iss\n", "CVN_ISS", ""},
    LookupCase{"TokenWithoutCommaIgnored", "CVN_ISS http://h/c.iss CVN_ISS,ok", "CVN_ISS", "ok"},
    LookupCase{"ByteOrderMarkHidesTheFirstKey",
               "\xEF\xBB\xBF"
               "CVN_ISS,http://h/c.iss\nCVN_EXE,http://h/c.exe\n",
               "CVN_ISS", ""},
    LookupCase{"ByteOrderMarkLeavesTheOthers",
               "\xEF\xBB\xBF"
               "CVN_ISS,http://h/c.iss\nCVN_EXE,http://h/c.exe\n",
               "CVN_EXE", "http://h/c.exe"},
    LookupCase{"HtmlPage",
               "<html><head><title>404 Not Found</title></head>\n<body>CVN_ISS</body></html>",
               "CVN_ISS", ""},
    LookupCase{"EmptyFile", "", "CVN_ISS", ""},
    LookupCase{"OnlySeparators", " \r\n\t", "CVN_ISS", ""},
};

TEST(UrlListLookup, FindsTheFirstEntryOfItsKey) {
  for (const LookupCase& c : kLookupCases) {
    ListFile list(c.list);
    EXPECT_EQ(LookupUrlListValue(list.get(), c.key), c.expected) << c.name;
  }
}

}  // namespace

TEST(UrlListLookup, TokensHaveNoLengthLimit) {
  const std::string url = "http://h/" + std::string(100000, 'x');
  ListFile list("CVN_ISS," + url + "\nCVN_EXE,e");
  EXPECT_EQ(LookupUrlListValue(list.get(), "CVN_ISS"), url);
  EXPECT_EQ(LookupUrlListValue(list.get(), "CVN_EXE"), "e");
}

TEST(UrlListLookup, EveryLookupStartsAgainAtTheFirstByte) {
  ListFile list(kWellFormed);
  // A miss runs into the end of the file; the lookups after it must not be affected.
  EXPECT_EQ(LookupUrlListValue(list.get(), "PM_ISS"), "");
  EXPECT_EQ(LookupUrlListValue(list.get(), "TSL_EXE"), "http://h/t.exe");
  EXPECT_EQ(LookupUrlListValue(list.get(), "CVN_ISS"), "http://h/c.iss");
  EXPECT_EQ(LookupUrlListValue(list.get(), "CVN_ISS"), "http://h/c.iss");
}

TEST(UrlListLookup, NoFileFindsNothing) {
  EXPECT_EQ(LookupUrlListValue(nullptr, "CVN_ISS"), "");
  const UrlListEntries entries = UrlListCopy().ReadEntries();
  for (const ComponentFiles& files : entries) {
    EXPECT_EQ(files.responseUrl, "");
    EXPECT_EQ(files.setupName, "");
  }
}

TEST(UrlListEntriesTest, MissingComponentLeavesTheOthers) {
  ListFile list(
      "TSL_EXE,http://h/tsl/Setup.exe\nCVN_ISS,http://h/cvn/setup.iss\n"
      "CVN_EXE,http://h/cvn/Setup.exe?v=2\nTSL_ISS,http://h/tsl/setup.iss");
  const UrlListEntries entries = ReadUrlListEntries(
      [&list](const std::string& key) { return LookupUrlListValue(list.get(), key); });

  EXPECT_EQ(entries[0].responseUrl, "http://h/cvn/setup.iss");
  EXPECT_EQ(entries[0].responseName, "setup.iss");
  EXPECT_EQ(entries[0].setupUrl, "http://h/cvn/Setup.exe?v=2");
  EXPECT_EQ(entries[0].setupName, "Setup.exe?v=2");
  EXPECT_EQ(entries[1].responseUrl, "");
  EXPECT_EQ(entries[1].setupUrl, "");
  EXPECT_EQ(entries[1].responseName, "");
  EXPECT_EQ(entries[2].responseUrl, "http://h/tsl/setup.iss");
  EXPECT_EQ(entries[2].setupUrl, "http://h/tsl/Setup.exe");
  EXPECT_EQ(entries[2].setupName, "Setup.exe");
}

struct NameCase {
  const char* url;
  const char* expected;
};

TEST(FileNameFromUrl, TakesThePlainLastSegment) {
  const NameCase cases[] = {
      NameCase{"http://h/Products/x/url_list.txt", "url_list.txt"},
      NameCase{"http://mirror:8080/lists/other.txt", "other.txt"}, NameCase{"http://h/a/", ""},
      NameCase{"no-slash-at-all", ""}, NameCase{"", ""},
      NameCase{"http://h/get?file=a.exe", "get?file=a.exe"},
      NameCase{"http://h/a.exe?dir=x/y.exe", "y.exe"}, NameCase{"http://h/a,b,c.exe", "a,b,c.exe"},
      NameCase{"http://h/.profile", ".profile"}, NameCase{"http://h/a..exe", "a..exe"},
      // Names that would leave the temporary directory.
      NameCase{"http://h/x\\..\\..\\Windows\\evil.dll", ""}, NameCase{"http://h/C:evil.dll", ""},
      NameCase{"http://h/a.exe:stream", ""}, NameCase{"http://h/.", ""},
      NameCase{"http://h/..", ""}, NameCase{"http://h/...", ""}, NameCase{"http://h/.. ", ""}};
  for (const NameCase& c : cases) EXPECT_EQ(FileNameFromUrl(c.url), c.expected) << c.url;
}

namespace {
// The choice with `override` as the registry's value (none when empty).
UrlListChoice ChooseWith(const std::string& override, uint16_t langId) {
  FakeRegistry registry;
  if (!override.empty()) registry.SetValue(kPelloryKey, kUrlListValueName, override);
  return ChooseUrlList(registry, langId);
}
}  // namespace

TEST(UrlListLocation, BuiltInLocationDependsOnTheLanguageOnly) {
  const std::string host = std::string("http://") + kUrlListHost;
  EXPECT_EQ(ChooseWith("", 0x0411).url,
            host + "/Products/tarvek/pcrw/driver/pellory/ja/url_list.txt");
  for (uint16_t other : {0x0409, 0x0804, 0x0011, 0x0412, 0x0000}) {
    EXPECT_EQ(ChooseWith("", other).url,
              host + "/Products/tarvek/pcrw/driver/pellory/en/url_list.txt")
        << std::hex << other;
  }
  EXPECT_EQ(FileNameFromUrl(BuiltInUrlListUrl(0x0411)), "url_list.txt");
  EXPECT_EQ(FileNameFromUrl(BuiltInUrlListUrl(0x0409)), "url_list.txt");
}

TEST(UrlListLocation, NamesWhereTheChoiceCameFrom) {
  EXPECT_STREQ(ChooseWith("http://mirror/list.txt", 0x0409).source, "registry override");
  EXPECT_STREQ(ChooseWith("", 0x0411).source, "built-in location for Japanese systems");
  EXPECT_STREQ(ChooseWith("", 0x0409).source, "built-in location for other languages");
}

TEST(UrlListLocation, OverrideIsUsedExactlyAsStored) {
  EXPECT_EQ(ChooseWith(" http://mirror/list.txt ", 0x0411).url, " http://mirror/list.txt ");
  EXPECT_EQ(ChooseWith("not a url", 0x0409).url, "not a url");
  EXPECT_EQ(FileNameFromUrl(ChooseWith("http://mirror/lists/", 0x0411).url), "");
}

TEST(UrlListCopyTest, ACopyThatCannotBeOpenedFindsNothing) {
  const UrlListCopy copy("/nonexistent/folder/url_list.txt");
  EXPECT_EQ(copy.Lookup("CVN_ISS"), "");
  EXPECT_EQ(copy.ReadEntries()[0].setupUrl, "");
}

namespace {

TEST(PinTest, OnlyTheExactFormPinsAndItComesOffBeforeTheNameAndTheLengthRules) {
  const std::string hex = "0123456789abcdef0123456789abcdef0123456789abcdef0123456789abcdef";
  const std::string upper = "0123456789ABCDEF0123456789ABCDEF0123456789ABCDEF0123456789ABCDEF";
  // As long as the client takes a URL, and a pin beyond that.
  const std::string longest = "http://h/" + std::string(kUrlCapacity - 1 - 13, 'a') + ".exe";
  struct {
    std::string url;
    std::string withoutPin = "",
                name = "";  // empty: no pin, the URL and its name as they always were
  } const cases[] = {
      {"http://h/a.exe#sha256=" + hex, "http://h/a.exe", "a.exe"},
      {"http://h/a.exe#sha256=" + upper, "http://h/a.exe", "a.exe"},
      {"http://h/a.exe?v=2#sha256=" + hex, "http://h/a.exe?v=2", "a.exe?v=2"},
      {longest + "#sha256=" + hex, longest, longest.substr(9)},
      {"http://h/a.exe#sha256=" + hex.substr(1)},
      {"http://h/a.exe#sha256=" + hex + "0"},
      {"http://h/a.exe#sha256=" + hex.substr(1) + "g"},
      {"http://h/a.exe#SHA256=" + hex},
      {"http://h/a.exe#x#sha256=" + hex},
      {"http://h/a.exe#top"},
  };
  for (const auto& c : cases) {
    const UrlListEntries entries =
        ReadUrlListEntries([&](const std::string& key) { return key == "CVN_EXE" ? c.url : ""; });
    const ComponentFiles& files = entries[0];
    const bool pinned = !c.withoutPin.empty();
    EXPECT_EQ(files.setupUrl, pinned ? c.withoutPin : c.url) << c.url;
    EXPECT_EQ(files.setupName, pinned ? c.name : FileNameFromUrl(c.url)) << c.url;
    ASSERT_EQ(files.setupPin.has_value(), pinned) << c.url;
    if (!pinned) continue;
    EXPECT_LT(files.setupUrl.size(), kUrlCapacity);
    EXPECT_EQ(PinFragment(*files.setupPin), "#sha256=" + hex);
  }
}

}  // namespace
