// macOS workspace: Finder for reveal and information windows, Launch Services for
// opening. Built only on Apple platforms.
#include "engine/format/AppleScript.h"
#include "platform/Workspace.h"

#import <AppKit/AppKit.h>
#import <Foundation/Foundation.h>

namespace tidvale::platform {
namespace {

NSString* nsPath(const std::string& path)
{
    return [NSFileManager.defaultManager stringWithFileSystemRepresentation:path.c_str()
                                                                     length:path.size()];
}

class FinderWorkspace final : public Workspace {
public:
    bool reveal(const std::string& path) override
    {
        @autoreleasepool {
            return [NSWorkspace.sharedWorkspace selectFile:nsPath(path)
                                  inFileViewerRootedAtPath:@""];
        }
    }

    bool showInformation(const std::string& path) override
    {
        @autoreleasepool {
            NSString* source =
                [NSString stringWithUTF8String:informationWindowScript(path).c_str()];
            if (!source)
                return reveal(path);
            NSAppleScript* script = [[NSAppleScript alloc] initWithSource:source];
            NSDictionary* error = nil;
            [script executeAndReturnError:&error];
            return error == nil;
        }
    }

    bool openWithDefaultApplication(const std::string& path) override
    {
        @autoreleasepool {
            NSURL* url = [NSURL fileURLWithPath:nsPath(path)];
            return [NSWorkspace.sharedWorkspace openURL:url] || reveal(path);
        }
    }

    bool launchApplication(const std::string& path) override
    {
        @autoreleasepool {
            NSURL* url = [NSURL fileURLWithPath:nsPath(path)];
            [NSWorkspace.sharedWorkspace
                openApplicationAtURL:url
                       configuration:[NSWorkspaceOpenConfiguration configuration]
                   completionHandler:nil];
            return true;
        }
    }

    bool openFolder(const std::string& folder) override
    {
        @autoreleasepool {
            return [NSWorkspace.sharedWorkspace selectFile:nil
                                  inFileViewerRootedAtPath:nsPath(folder)];
        }
    }
};

} // namespace

std::shared_ptr<Workspace> systemWorkspace()
{
    return std::make_shared<FinderWorkspace>();
}

} // namespace tidvale::platform
