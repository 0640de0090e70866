#pragma once

// Which sites' cookies and stored data a clean leaves: the user's kept domains, each
// with its subdomains, and what is not a web site at all (an extension's own storage).
#include "engine/context/Context.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tidvale {

// The kept sites as the settings file holds them now (a window may have changed it
// since the process started); the ones read at start when there is no file to read.
std::vector<std::string> keptSites(const Context& context);

// Whether `host` ("mail.example.org", ".example.org" as a cookie names a domain) is
// one of `kept` or lies below one, label by label: "example.org" keeps
// "mail.example.org" but not "badexample.org".
bool isKeptHost(const std::vector<std::string>& kept, std::string_view host);

// The host of a web origin as the browsers write it in their folders and keys; none
// for what is not an http(s) site (an extension, a file), which is never a site's
// data to clear.
// "http://127.0.0.1:8000", "https://mail.example.org"
std::optional<std::string> hostOfOrigin(std::string_view origin);
// Firefox's storage folder names: "https+++mail.example.org", "http+++127.0.0.1+8000",
// "https+++example.org^userContextId=2".
std::optional<std::string> hostOfFirefoxOriginFolder(std::string_view name);
// Chromium's per-origin folder names: "https_mail.example.org_0.indexeddb.leveldb".
std::optional<std::string> hostOfChromiumOriginFolder(std::string_view name);

// "se conservan 2 sitios" and so on, or "" when none is kept.
std::string keptSitesNote(size_t count);

} // namespace tidvale
