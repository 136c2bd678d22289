#include "tests/support/SoundServer.h"

#include "tests/support/Eventually.h"
#include "tests/support/FileBytes.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

SoundServer::SoundServer(const fs::path& folder)
    : m_folder(folder), m_socket(folder / "runtime" / "pulse" / "native") {
    fs::create_directories(m_folder / "home");
    // The server insists on a runtime folder that only its user can enter.
    fs::create_directories(m_folder / "runtime");
    fs::permissions(m_folder / "runtime", fs::perms::owner_all);
    Restart();
}

QProcessEnvironment SoundServer::ClientVariables() const {
    QProcessEnvironment variables;
    variables.insert("PULSE_SERVER", QString::fromStdString("unix:" + m_socket.string()));
    variables.insert("XDG_RUNTIME_DIR", QString::fromStdString((m_folder / "runtime").string()));
    return variables;
}

bool SoundServer::Restart() {
    m_recorder.reset(), m_server.reset(), m_problem.clear();
    // -n skips the system's default.pa, so the server loads only these two modules, and it
    // neither looks for sound cards nor for the desktop's display or session bus. Running
    // as root draws a warning but works.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "DBUS_SESSION_BUS_ADDRESS", "PULSE_SERVER"})
        environment.remove(name);
    environment.insert(ClientVariables());
    environment.insert("HOME", QString::fromStdString((m_folder / "home").string()));
    m_server = std::make_unique<OwnedProcess>(
        "pulseaudio",
        QStringList{
            "-n", "--daemonize=no", "--exit-idle-time=-1", "--disable-shm", "--use-pid-file=false",
            "--log-target=stderr", "-L", "module-null-sink sink_name=murmelo_e2e", "-L",
            QString::fromStdString("module-native-protocol-unix socket=" + m_socket.string())},
        environment, m_folder / "pulseaudio.log");
    // The sink is loaded before the socket, so a server that answers has it.
    const auto ended = [&] { return m_server->state() == QProcess::NotRunning; };
    if (!Eventually([&] { return ended() || OwnedProcess::Run("pactl", {"info"}, environment); },
                    15s, 50ms) ||
        ended()) {
        m_problem = "pulseaudio did not start (are pulseaudio and pulseaudio-utils installed?)";
        return false;
    }
    // A 10 ms latency makes the server hand over the sound in small pieces as it is played,
    // instead of in large blocks, so the file grows at the pace of the sound.
    m_recorder = std::make_unique<OwnedProcess>(environment, m_folder / "parec.log");
    m_recorder->setStandardOutputFile(
        QString::fromStdString((m_folder / "recording.raw").string()));
    m_recorder->Launch("parec", {"--device=murmelo_e2e.monitor", "--format=s16le",
                                 QStringLiteral("--rate=%1").arg(kSampleRate), "--channels=1",
                                 "--latency-msec=10"});
    // The null sink plays silence while nobody plays anything, so the recording runs from
    // its first samples on, which take the server a second or two.
    if (!Eventually([&] { return SampleCount() > 0; }, 20s, 50ms)) {
        m_problem =
            "parec recorded nothing from the sound server:\n" + ReadFile(m_folder / "parec.log");
        return false;
    }
    return true;
}

std::size_t SoundServer::SampleCount() const {
    std::error_code error;
    const auto bytes = fs::file_size(m_folder / "recording.raw", error);
    return error ? 0 : bytes / 2;
}

std::vector<std::int16_t> SoundServer::Samples() const {
    const std::string bytes = ReadFile(m_folder / "recording.raw");
    std::vector<std::int16_t> samples(bytes.size() / 2);
    std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
    return samples;
}
