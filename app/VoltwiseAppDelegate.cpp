#include "app/VoltwiseAppDelegate.h"

namespace vw {

using namespace platform;

VoltwiseAppDelegate::VoltwiseAppDelegate(Platform& platform, AppConfig config, history::ThisComputer* computer)
    : p_(platform), config_(std::move(config)), computer_(computer) {}

VoltwiseAppDelegate::~VoltwiseAppDelegate() {
    // The controller first, then the window.
    viewController_.reset();
    window_.reset();
}

void VoltwiseAppDelegate::applicationDidFinishLaunching(Application& application) {
    const Rect frame = application.screenBounds().value_or(Rect{});
    setWindow(std::make_shared<Window>(p_.ui, frame));
    window_->setName("window");
    viewController_ = std::make_shared<VoltwiseViewController>(p_, config_, computer_);
    viewController_->init();
    window_->addSubview(viewController_->view());
    window_->makeKeyAndVisible();
}

}  // namespace vw
