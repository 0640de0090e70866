// macOS notifications through the user notification centre. The centre answers only a
// program inside an application bundle (tidvale-cli sits in Tidvale.app's MacOS
// folder) and only once the user allowed it; the first scheduled clean asks. Built
// only on Apple platforms.
#include "platform/Notifier.h"

#import <Foundation/Foundation.h>
#import <UserNotifications/UserNotifications.h>

namespace tidvale::platform {
namespace {

// The centre answers on a queue of its own; a command-line run waits for it, but
// not for ever.
constexpr int64_t kWaitNanoseconds = 10 * NSEC_PER_SEC;

std::string describe(NSError* error)
{
    return error ? std::string(error.localizedDescription.UTF8String) : "error desconocido";
}

class UserNotificationCentre final : public Notifier {
public:
    std::optional<std::string> notify(const Notification& notification) override
    {
        @autoreleasepool {
            if (!NSBundle.mainBundle.bundleIdentifier)
                return "Este programa no está dentro de Tidvale.app: el centro de "
                       "notificaciones no lo atiende.";
            UNUserNotificationCenter* centre = UNUserNotificationCenter.currentNotificationCenter;
            __block std::optional<std::string> failure;
            dispatch_semaphore_t done = dispatch_semaphore_create(0);
            [centre requestAuthorizationWithOptions:UNAuthorizationOptionAlert
                                  completionHandler:^(BOOL granted, NSError* error) {
                                      if (!granted)
                                          failure = "No se permiten notificaciones de Tidvale ("
                                              + describe(error) + ").";
                                      dispatch_semaphore_signal(done);
                                  }];
            if (dispatch_semaphore_wait(done, dispatch_time(DISPATCH_TIME_NOW, kWaitNanoseconds)))
                return "El centro de notificaciones no respondió.";
            if (failure)
                return failure;

            UNMutableNotificationContent* content = [[UNMutableNotificationContent alloc] init];
            content.title = [NSString stringWithUTF8String:notification.title.c_str()];
            content.body = [NSString stringWithUTF8String:notification.body.c_str()];
            UNNotificationRequest* request =
                [UNNotificationRequest requestWithIdentifier:NSUUID.UUID.UUIDString
                                                     content:content
                                                     trigger:nil];
            [centre addNotificationRequest:request
                     withCompletionHandler:^(NSError* error) {
                         if (error)
                             failure
                                 = "No se pudo mostrar la notificación (" + describe(error) + ").";
                         dispatch_semaphore_signal(done);
                     }];
            if (dispatch_semaphore_wait(done, dispatch_time(DISPATCH_TIME_NOW, kWaitNanoseconds)))
                return "El centro de notificaciones no respondió.";
            return failure;
        }
    }
};

} // namespace

std::shared_ptr<Notifier> systemNotifier(const std::string&, const std::string&)
{
    return std::make_shared<UserNotificationCentre>();
}

} // namespace tidvale::platform
