#pragma once
// Every address of the product web site and of the update servers, in one
// place. The host names are build settings (web/CMakeLists.txt) so that a
// build can be pointed at a local copy of the site; the paths are fixed.
// Every address is built with the scheme "http".
#include <string>
#include <string_view>

namespace framlet::site {

// The main ("www") host: start page, home, sign-in and sign-in check pages.
extern const char kSiteHost[];
// The download host: the recorder download page.
extern const char kDownloadHost[];
// The web address drawn on the capture frame's top band.
extern const wchar_t kSiteAddressText[];
// The updater's hosts: the update-check endpoint and the component downloads.
extern const char kUpdateCheckHost[];
extern const char kComponentHost[];

// The bare domain: guide popup and help pages. Unless the build names one, it
// is the main host without its first label (see BareDomainOf).
const std::string& SiteDomain();

// Paths on the main host.
inline constexpr char kStartPagePath[] = "/home/index.html?ver=5.0";
inline constexpr char kHomePath[] = "/";
inline constexpr char kSignInPath[] = "/home/member/login.html?rtn=";
inline constexpr char kSignInCheckPath[] = "/app/login.php";
// Paths on the bare domain.
inline constexpr char kGuidePopupPath[] = "/home/guide_popup.html";
inline constexpr char kGuidePopupMarkerPath[] = "/home/guide_popup";
inline constexpr char kHelpPath[] = "/app/framlet_help.html";
// Path on the download host.
inline constexpr char kRecorderDownloadPath[] = "/download/tapeloom.php";
// Paths on the update servers.
inline constexpr char kUpdateCheckPath[] = "/updatechk/framletupdate2_201301.php";
inline constexpr char kComponentFolderPath[] = "/bundle_2010/framlet/update/";

// "http://" + host + path.
std::string Url(std::string_view host, std::string_view path);

std::string StartPageUrl();
std::string HomeUrl();
// The sign-in page with its return address: the address box text (bytes in
// the system code page) plus one zero byte, in Base64.
std::string SignInUrl(std::string_view returnAddress);
std::string SignInCheckUrl();
std::string GuidePopupUrl();
// Any address that contains this counts as the guide popup page.
std::string GuidePopupMarker();
std::string HelpUrl();
std::string RecorderDownloadUrl();
std::string UpdateCheckUrl();

// RFC 4648 Base64 with '=' padding, no line breaks.
std::string Base64(std::string_view bytes);

// The host without its first label ("www.framlet.example" -> "framlet.example").
// A host of fewer than three labels, an IPv4 address or "localhost" (any of
// them with a port) is its own bare domain, so a local copy of the site on
// one host keeps working.
std::string BareDomainOf(std::string_view host);

}  // namespace framlet::site
