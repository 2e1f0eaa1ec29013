// Addresses of the product web site and the update servers: every page on its
// host with its path, the sign-in page's Base64 return address (the address
// box's bytes in code page 949 plus one zero byte) and the bare domain of a
// host. The component installer's path is the updater's (update_rules_test).
#include <gtest/gtest.h>

#include <string>

#include "web/site_config.h"

namespace framlet::site {
namespace {

std::string Http(const std::string& host, const std::string& path) {
  return "http://" + host + path;
}

TEST(SiteAddresses, EveryPageOnItsHostWithItsPath) {
  struct Case {
    const char* page;
    std::string built;
    std::string expected;
  };
  const std::string www = kSiteHost;
  const std::string bare = SiteDomain();
  const Case cases[] = {
      {"start page", StartPageUrl(), Http(www, "/home/index.html?ver=5.0")},
      {"home page (the root)", HomeUrl(), Http(www, "/")},
      {"sign-in check page", SignInCheckUrl(), Http(www, "/app/login.php")},
      {"guide popup page", GuidePopupUrl(), Http(bare, "/home/guide_popup.html")},
      {"guide popup marker", GuidePopupMarker(), bare + "/home/guide_popup"},
      {"help page", HelpUrl(), Http(bare, "/app/framlet_help.html")},
      {"recorder download page", RecorderDownloadUrl(), Http(kDownloadHost, "/download/tapeloom.php")},
      {"update check", UpdateCheckUrl(), Http(kUpdateCheckHost, "/updatechk/framletupdate2_201301.php")},
  };
  for (const Case& c : cases) EXPECT_EQ(c.built, c.expected) << c.page;
}

TEST(SiteAddresses, DefaultBareDomainIsTheMainHostWithoutItsFirstLabel) {
  // Holds for the example hosts and for a build that names only its main host.
  EXPECT_EQ(SiteDomain(), BareDomainOf(kSiteHost));
}

TEST(SiteAddresses, SignInReturnAddressIsBase64OfTheBytesAndOneZero) {
  struct Case {
    const char* situation;
    std::string addressBytes;  // as the address box holds it, code page 949
    const char* base64;
  };
  const Case cases[] = {
      {"empty address box: the zero byte alone", "", "AA=="},
      {"three characters: four bytes, two padding characters", "abc", "YWJjAA=="},
      {"one character: one padding character after the zero", "a", "YQA="},
      {"two characters: no padding", "ab", "YWIA"},
      {"the start page", "http://www.framlet.example/home/index.html?ver=5.0",
       "aHR0cDovL3d3dy5mcmFtbGV0LmV4YW1wbGUvaG9tZS9pbmRleC5odG1sP3Zlcj01LjAA"},
      // "한글" is C7 D1 B1 DB in code page 949.
      {"Korean text", "\xC7\xD1\xB1\xDB", "x9Gx2wA="},
      // "http://검색.kr/한글": '+' and '/' of the alphabet stay as they are.
      {"Korean address, no escaping of + and /", "http://\xB0\xCB\xBB\xF6.kr/\xC7\xD1\xB1\xDB",
       "aHR0cDovL7DLu/Yua3Ivx9Gx2wA="},
  };
  for (const Case& c : cases)
    EXPECT_EQ(SignInUrl(c.addressBytes), Http(kSiteHost, "/home/member/login.html?rtn=") + c.base64) << c.situation;
}

TEST(SiteAddresses, Base64OfEveryRemainderLength) {
  // RFC 4648 section 10, and bytes above 0x7F (sign extension would corrupt them).
  const std::pair<std::string, const char*> cases[] = {
      {"", ""},
      {"f", "Zg=="},
      {"fo", "Zm8="},
      {"foo", "Zm9v"},
      {"foob", "Zm9vYg=="},
      {"fooba", "Zm9vYmE="},
      {"foobar", "Zm9vYmFy"},
      {"\xFF\xFE\xFD", "//79"},
      {std::string("\x00\x80", 2), "AIA="},
  };
  for (const auto& [bytes, expected] : cases) EXPECT_EQ(Base64(bytes), expected) << bytes.size() << " bytes";
}

TEST(SiteAddresses, BareDomainOfAHost) {
  const std::pair<const char*, const char*> cases[] = {
      {"www.framlet.example", "framlet.example"},
      {"www.framlet.example:8080", "framlet.example:8080"},
      {"a.b.c.example", "b.c.example"},
      {"framlet.example", "framlet.example"},  // two labels: already bare
      {"localhost", "localhost"},
      {"localhost:8765", "localhost:8765"},
      {"127.0.0.1", "127.0.0.1"},  // an address has no labels to drop
      {"127.0.0.1:8765", "127.0.0.1:8765"},
  };
  for (const auto& [host, bare] : cases) EXPECT_EQ(BareDomainOf(host), bare) << host;
}

}  // namespace
}  // namespace framlet::site
