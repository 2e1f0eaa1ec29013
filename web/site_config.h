#pragma once

// Host names of the product web site. Every page address is built from these
// with the scheme "http"; change them here and nowhere else.
namespace framlet::site {

// The main ("www") host: start page, home, sign-in and sign-in check pages.
inline constexpr char kSiteHost[] = "www.framlet.example";
// The bare domain (the main host without its first label): guide popup and help pages.
inline constexpr char kSiteDomain[] = "framlet.example";
// The download host: the recorder download page.
inline constexpr char kDownloadHost[] = "down.framlet.example";
// The web address drawn on the capture frame's top band.
inline constexpr wchar_t kSiteAddressText[] = L"www.framlet.example";

}  // namespace framlet::site
