// Values the application is configured with: where its requests and store
// pages go, and the texts that name the maker. Defaults point at reserved
// example hosts where nothing real should be reached.
#pragma once

#include <string>

namespace vw {

struct AppConfig {
    // Install attribution: GET http://<host>/app.php?idfa=...&appid=...
    std::string attributionHost = "attribution.voltwise.example";
    // The platform's store, opened with the "itms-apps" scheme.
    std::string storeHost = "itunes.apple.com";
    long long appStoreId = 410000001;  // this application, in the store
    std::string paidEditionPath = "/app/voltwise-ultra/id410000002";
    std::string cataloguePath = "/artist/voltwise-labs/id410000000";
    // The rating prompt's connectivity probe.
    std::string probeUrl = "http://www.example.com/";
    // The welcome message's last two paragraphs.
    std::string supportEmail = "support@voltwise.example";
    std::string makerName = "Voltwise Labs";
    // Off: no request of any kind leaves the application.
    bool networkEnabled = true;
    // In the window, store pages open through the desktop ("desktop") or
    // are only printed ("print").
    bool openUrlsOnDesktop = true;
    // Off: the window shows no low-battery notifications.
    bool notifyEnabled = true;

    std::string paidEditionUrl() const { return "itms-apps://" + storeHost + paidEditionPath + "?ls=1&mt=8"; }
    std::string catalogueUrl() const { return "itms-apps://" + storeHost + cataloguePath + "?mt=8"; }
};

}  // namespace vw
