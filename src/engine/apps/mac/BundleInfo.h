#pragma once

#include <string>

namespace tidvale {

// What an application bundle says about itself in its Info.plist.
struct BundleInfo {
    std::string version;  // CFBundleShortVersionString
    std::string bundleID; // CFBundleIdentifier
    std::string iconFile; // absolute path of the bundle's icon image
};

// Empty fields for anything missing: a plain file, a bundle without Info.plist, or
// one whose entries are not texts.
BundleInfo readBundleInfo(const std::string& bundlePath);

} // namespace tidvale
