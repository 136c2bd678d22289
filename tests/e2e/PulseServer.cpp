#include "tests/e2e/PulseServer.h"

#include "tests/e2e/Polling.h"

#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

constexpr auto kStartLimit = std::chrono::seconds(15);

bool AcceptsConnections(const std::filesystem::path& socketPath) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string path = socketPath.string();
    if (path.size() >= sizeof(address.sun_path))
        return false;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    const bool connected =
        connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0;
    close(fd);
    return connected;
}

} // namespace

PulseServer::PulseServer(const std::filesystem::path& folder, const std::filesystem::path& log)
    : m_runtimeFolder(folder / "runtime") {
    const std::filesystem::path home = folder / "home";
    std::error_code error;
    std::filesystem::create_directories(m_runtimeFolder, error);
    std::filesystem::create_directories(home, error);
    // The server insists on a runtime folder that only its user can enter.
    std::filesystem::permissions(m_runtimeFolder, std::filesystem::perms::owner_all, error);
    const std::filesystem::path socket = m_runtimeFolder / "pulse" / "native";
    if (socket.string().size() >= sizeof(sockaddr_un::sun_path)) {
        m_problem = "the path of PulseAudio's socket is too long: " + socket.string();
        return;
    }

    // -n skips the system's default.pa, so the server loads only these two modules, and it
    // neither looks for sound cards nor for the desktop's display or session bus. Running
    // as root draws a warning but works.
    SpawnedProcess::Options options;
    options.log = log;
    options.environment = Environment::Inherited()
                              .Remove("DISPLAY")
                              .Remove("DBUS_SESSION_BUS_ADDRESS")
                              .Remove("PULSE_SERVER")
                              .Set("XDG_RUNTIME_DIR", m_runtimeFolder.string())
                              .Set("HOME", home.string());
    m_server = std::make_unique<SpawnedProcess>(
        std::vector<std::string>{"pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1",
                                 "--disable-shm", "--use-pid-file=false", "--log-target=stderr",
                                 "-L", std::string("module-null-sink sink_name=") + kSinkName, "-L",
                                 "module-native-protocol-unix socket=" + socket.string()},
        options);
    if (!m_server->Started()) {
        m_problem = "pulseaudio could not be started (is the pulseaudio package installed?)";
        return;
    }
    // The sink is loaded before the socket, so a server that accepts a connection has it.
    const bool ready = WaitUntil(
        [&] { return !m_server->IsRunning() || AcceptsConnections(socket); }, kStartLimit);
    if (!m_server->IsRunning()) {
        m_problem = "pulseaudio ended at start";
        return;
    }
    if (!ready) {
        m_problem = "pulseaudio did not accept connections within 15 s";
        return;
    }
    m_address = "unix:" + socket.string();
}
