#include "gui/support/ScreenTestEnvironment.h"

#include "engine/locations/SystemLocations.h"
#include "gui/app/QtDispatcher.h"

ScreenTestEnvironment::ScreenTestEnvironment(const tidvale::LocationsProfile& profile)
    : trash(std::make_shared<FakeTrash>(tree.dir("trash-bin")))
    , profile_(profile)
    , savedRoot_(tidvale::SystemLocations::root())
    , scopedHome_(tree.dir("home"))
    , backends_(running, runner, trash)
    , scopedWorkspace_(workspace)
    , scopedRemover_(remover)
{
    tree.dir("system");
    tidvale::SystemLocations::setRoot(systemRoot());
    tidvale::gui::installQtDispatcher();
}

ScreenTestEnvironment::~ScreenTestEnvironment()
{
    tidvale::SystemLocations::setRoot(savedRoot_);
}
