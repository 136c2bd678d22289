#pragma once

#include <QProcess>
#include <filesystem>
#include <gtest/gtest.h>

// A dbus-daemon of the tests' own, made the session bus of the test process. Its service
// folder starts empty, so no file manager of the machine can be started through it.
class PrivateSessionBus : public ::testing::Environment {
  public:
    void SetUp() override;
    void TearDown() override;

    static bool running() { return s_running; }
    static const std::filesystem::path& servicesFolder() { return s_services; }
    // Makes the daemon read its service folder again.
    static void ReloadServices();

  private:
    QProcess m_daemon;
    std::filesystem::path m_folder;
    static inline bool s_running = false;
    static inline std::filesystem::path s_services;
};
