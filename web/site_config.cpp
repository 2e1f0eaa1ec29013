#include "web/site_config.h"

#include <cctype>

// The host names come from the build (cache variables of web/CMakeLists.txt).
#if !defined(FRAMLET_SITE_HOST) || !defined(FRAMLET_SITE_DOMAIN) || !defined(FRAMLET_DOWNLOAD_HOST) || \
    !defined(FRAMLET_SITE_ADDRESS) || !defined(FRAMLET_UPDATE_HOST) || !defined(FRAMLET_COMPONENT_HOST)
#error "the site's host names are set by web/CMakeLists.txt"
#endif

namespace framlet::site {

const char kSiteHost[] = FRAMLET_SITE_HOST;
const char kDownloadHost[] = FRAMLET_DOWNLOAD_HOST;
const wchar_t kSiteAddressText[] = L"" FRAMLET_SITE_ADDRESS;
const char kUpdateCheckHost[] = FRAMLET_UPDATE_HOST;
const char kComponentHost[] = FRAMLET_COMPONENT_HOST;

namespace {

bool IsIpv4(std::string_view name) {
  int dots = 0;
  for (char c : name) {
    if (c == '.')
      ++dots;
    else if (!std::isdigit(static_cast<unsigned char>(c)))
      return false;
  }
  return dots == 3;
}

}  // namespace

const std::string& SiteDomain() {
  static const std::string domain =
      sizeof FRAMLET_SITE_DOMAIN > 1 ? std::string(FRAMLET_SITE_DOMAIN) : BareDomainOf(kSiteHost);
  return domain;
}

std::string BareDomainOf(std::string_view host) {
  const std::string_view name = host.substr(0, host.find(':'));
  if (name == "localhost" || IsIpv4(name)) return std::string(host);
  const size_t firstDot = name.find('.');
  if (firstDot == std::string_view::npos || name.find('.', firstDot + 1) == std::string_view::npos)
    return std::string(host);
  return std::string(host.substr(firstDot + 1));
}

std::string Url(std::string_view host, std::string_view path) {
  std::string url = "http://";
  url += host;
  url += path;
  return url;
}

std::string StartPageUrl() {
  return Url(kSiteHost, kStartPagePath);
}
std::string HomeUrl() {
  return Url(kSiteHost, kHomePath);
}
std::string SignInCheckUrl() {
  return Url(kSiteHost, kSignInCheckPath);
}
std::string GuidePopupUrl() {
  return Url(SiteDomain(), kGuidePopupPath);
}
std::string GuidePopupMarker() {
  return SiteDomain() + kGuidePopupMarkerPath;
}
std::string HelpUrl() {
  return Url(SiteDomain(), kHelpPath);
}
std::string RecorderDownloadUrl() {
  return Url(kDownloadHost, kRecorderDownloadPath);
}
std::string UpdateCheckUrl() {
  return Url(kUpdateCheckHost, kUpdateCheckPath);
}

std::string SignInUrl(std::string_view returnAddress) {
  std::string bytes(returnAddress);
  bytes.push_back('\0');
  return Url(kSiteHost, kSignInPath) + Base64(bytes);
}

std::string Base64(std::string_view bytes) {
  static constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  size_t i = 0;
  for (; i + 2 < bytes.size(); i += 3) {
    const unsigned group = static_cast<unsigned char>(bytes[i]) << 16 | static_cast<unsigned char>(bytes[i + 1]) << 8 |
                           static_cast<unsigned char>(bytes[i + 2]);
    out += kAlphabet[group >> 18 & 63];
    out += kAlphabet[group >> 12 & 63];
    out += kAlphabet[group >> 6 & 63];
    out += kAlphabet[group & 63];
  }
  const size_t rest = bytes.size() - i;
  if (rest > 0) {
    unsigned group = static_cast<unsigned char>(bytes[i]) << 16;
    if (rest == 2) group |= static_cast<unsigned char>(bytes[i + 1]) << 8;
    out += kAlphabet[group >> 18 & 63];
    out += kAlphabet[group >> 12 & 63];
    out += rest == 2 ? kAlphabet[group >> 6 & 63] : '=';
    out += '=';
  }
  return out;
}

}  // namespace framlet::site
