// Start-up: the application delegate makes the window and the main
// controller, and puts the controller's view on screen.
#pragma once

#include <memory>

#include "controller/VoltwiseViewController.h"

namespace vw {

class VoltwiseAppDelegate {
public:
    // `computer`, when given, is this computer's battery for the readout.
    VoltwiseAppDelegate(platform::Platform& platform, AppConfig config, history::ThisComputer* computer = nullptr);
    ~VoltwiseAppDelegate();

    void applicationDidFinishLaunching(platform::Application& application);

    const std::shared_ptr<platform::Window>& window() const { return window_; }
    void setWindow(std::shared_ptr<platform::Window> w) { window_ = std::move(w); }
    const std::shared_ptr<VoltwiseViewController>& viewController() const { return viewController_; }
    void setViewController(std::shared_ptr<VoltwiseViewController> c) { viewController_ = std::move(c); }

private:
    platform::Platform& p_;
    AppConfig config_;
    history::ThisComputer* computer_;
    std::shared_ptr<platform::Window> window_;
    std::shared_ptr<VoltwiseViewController> viewController_;
};

}  // namespace vw
