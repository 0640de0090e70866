// macOS backends: the workspace's running applications, the Finder Trash and the
// AppleScript engine for the administrator deletion. Built only on Apple platforms.
#include "platform/PrivilegedRunner.h"
#include "platform/RunningApplications.h"
#include "platform/Trash.h"

#import <AppKit/AppKit.h>
#import <Foundation/Foundation.h>

namespace tidvale::platform {
namespace {

class WorkspaceRunningApplications final : public RunningApplications {
public:
    std::vector<std::string> bundleIdentifiers() const override
    {
        std::vector<std::string> ids;
        @autoreleasepool {
            for (NSRunningApplication* app in NSWorkspace.sharedWorkspace.runningApplications) {
                if (NSString* bid = app.bundleIdentifier)
                    ids.emplace_back(bid.UTF8String);
            }
        }
        return ids;
    }
};

class FinderTrash final : public Trash {
public:
    TrashResult moveToTrash(const std::string& path) override
    {
        TrashResult result;
        @autoreleasepool {
            NSString* p =
                [NSFileManager.defaultManager stringWithFileSystemRepresentation:path.c_str()
                                                                          length:path.size()];
            NSError* error = nil;
            result.ok = [NSFileManager.defaultManager trashItemAtURL:[NSURL fileURLWithPath:p]
                                                    resultingItemURL:nil
                                                               error:&error];
            if (!result.ok)
                result.error = error ? error.localizedDescription.UTF8String : "Error desconocido";
        }
        return result;
    }
};

class AppleScriptRunner final : public PrivilegedRunner {
public:
    std::optional<std::string> run(const PrivilegedDeletion& request) override
    {
        @autoreleasepool {
            NSAppleScript* script = [[NSAppleScript alloc]
                initWithSource:[NSString stringWithUTF8String:request.script.c_str()]];
            NSDictionary* info = nil;
            [script executeAndReturnError:&info];
            if (!info)
                return std::nullopt;
            id message = info[NSAppleScriptErrorMessage];
            if ([message isKindOfClass:NSString.class])
                return std::string([(NSString*)message UTF8String]);
            return std::string("Error desconocido");
        }
    }
};

} // namespace

template <> std::shared_ptr<RunningApplications> makeSystemService<RunningApplications>()
{
    return std::make_shared<WorkspaceRunningApplications>();
}
template <> std::shared_ptr<Trash> makeSystemService<Trash>()
{
    return std::make_shared<FinderTrash>();
}
template <> std::shared_ptr<PrivilegedRunner> makeSystemService<PrivilegedRunner>()
{
    return std::make_shared<AppleScriptRunner>();
}

} // namespace tidvale::platform
