#pragma once

#include "gui/tools/ToolViewController.h"

namespace tidvale::gui {

class SystemJunkViewController : public ToolViewController {
    Q_OBJECT
public:
    using ToolViewController::ToolViewController;

protected:
    void loadView() override;
};

} // namespace tidvale::gui
