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
            NSURL* landed = nil;
            result.ok = [NSFileManager.defaultManager trashItemAtURL:[NSURL fileURLWithPath:p]
                                                    resultingItemURL:&landed
                                                               error:&error];
            if (result.ok && landed.fileSystemRepresentation)
                result.trashedAs = landed.fileSystemRepresentation;
            if (!result.ok)
                result.error = error ? error.localizedDescription.UTF8String : "Error desconocido";
        }
        return result;
    }
};

// The script removes every path in one privileged shell command, all or nothing:
// success means every path is gone, and a failure says nothing of any one path.
class AppleScriptRunner final : public PrivilegedRunner {
public:
    PrivilegedRunResult run(const PrivilegedDeletion& request) override
    {
        PrivilegedRunResult result;
        @autoreleasepool {
            NSAppleScript* script = [[NSAppleScript alloc]
                initWithSource:[NSString stringWithUTF8String:request.script.c_str()]];
            NSDictionary* info = nil;
            [script executeAndReturnError:&info];
            if (!info) {
                result.paths.assign(
                    request.paths.size(), PrivilegedPathResult{PrivilegedStatus::removed, 0});
                return result;
            }
            result.paths.resize(request.paths.size());
            id message = info[NSAppleScriptErrorMessage];
            if ([message isKindOfClass:NSString.class])
                result.error = std::string([(NSString*)message UTF8String]);
            else
                result.error = std::string("Error desconocido");
        }
        return result;
    }
};

} // namespace

std::shared_ptr<RunningApplications> systemRunningApplications()
{
    return std::make_shared<WorkspaceRunningApplications>();
}
std::shared_ptr<Trash> systemTrash()
{
    return std::make_shared<FinderTrash>();
}
std::shared_ptr<PrivilegedRunner> systemPrivilegedRunner()
{
    return std::make_shared<AppleScriptRunner>();
}

} // namespace tidvale::platform
