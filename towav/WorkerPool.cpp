#include "towav/WorkerPool.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

// How many jobs past the next one to deliver may be started: enough to keep every process
// busy while one job takes longer, few enough to bound the samples held in memory.
constexpr std::size_t kJobsAheadPerProcess = 2;

constexpr std::size_t kReadSize = 256 * 1024;
// A larger pipe than the system's 64 KiB lets a job hand over its samples in fewer turns;
// where the system refuses, the pipe keeps its size and works the same.
constexpr int kPipeSize = 1024 * 1024;
// What follows a job's samples: their count.
constexpr std::size_t kCountSize = sizeof(std::uint64_t);

bool WriteAll(int descriptor, const void* data, std::size_t size) {
    const auto* bytes = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t written = write(descriptor, bytes, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        bytes += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

// Killed with its parent, even when the parent died before this call.
void DieWithParent(pid_t parent) {
    if (prctl(PR_SET_PDEATHSIG, SIGKILL) != 0 || getppid() != parent)
        _exit(1);
}

// A job's whole life: its samples into the pipe as they come, then their count, by which
// the converter knows that they all came. It ends without running a destructor of the
// converter's objects, which are not its own.
[[noreturn]] void RunJob(const WorkerPool::Job& job, std::size_t index, int output) {
    try {
        std::uint64_t count = 0;
        const bool done = job(index, [&](std::span<const std::int16_t> samples) {
            count += samples.size();
            return WriteAll(output, samples.data(), samples.size_bytes());
        });
        _exit(done && WriteAll(output, &count, sizeof count) ? 0 : 1);
    } catch (...) {
        _exit(1);
    }
}

// The descriptor handed over in the message, or -1.
int ReceiveDescriptor(int socket) {
    char data = 0;
    iovec vector{&data, 1};
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(int))];
    msghdr message{};
    message.msg_iov = &vector;
    message.msg_iovlen = 1;
    message.msg_control = control;
    message.msg_controllen = sizeof control;
    if (recvmsg(socket, &message, MSG_CMSG_CLOEXEC) <= 0)
        return -1;
    const cmsghdr* header = CMSG_FIRSTHDR(&message);
    if (!header || header->cmsg_type != SCM_RIGHTS)
        return -1;
    int descriptor = -1;
    std::memcpy(&descriptor, CMSG_DATA(header), sizeof descriptor);
    return descriptor;
}

bool SendDescriptor(int socket, int descriptor) {
    char data = 0;
    iovec vector{&data, 1};
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(int))] = {};
    msghdr message{};
    message.msg_iov = &vector;
    message.msg_iovlen = 1;
    message.msg_control = control;
    message.msg_controllen = sizeof control;
    cmsghdr* header = CMSG_FIRSTHDR(&message);
    header->cmsg_level = SOL_SOCKET;
    header->cmsg_type = SCM_RIGHTS;
    header->cmsg_len = CMSG_LEN(sizeof(int));
    std::memcpy(CMSG_DATA(header), &descriptor, sizeof descriptor);
    return sendmsg(socket, &message, MSG_NOSIGNAL) == 1;
}

// The process that forks the jobs. It is a copy of the converter made before the first
// job, so every job starts from the same state, and it stays small: forking the converter
// itself, whose memory grows with the samples it holds, would make the converter pay for
// copying on every later write to that memory.
class JobServer {
  public:
    JobServer() = default;
    JobServer(const JobServer&) = delete;
    JobServer& operator=(const JobServer&) = delete;
    ~JobServer() {
        if (m_socket >= 0)
            close(m_socket);
        if (m_server > 0) {
            kill(m_server, SIGKILL);
            waitpid(m_server, nullptr, 0);
        }
    }

    bool Start(const WorkerPool::Job& job) {
        int ends[2];
        if (socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, ends) != 0)
            return false;
        const pid_t converter = getpid();
        m_server = fork();
        if (m_server == 0) {
            close(ends[0]);
            DieWithParent(converter);
            Serve(job, ends[1]);
        }
        close(ends[1]);
        m_socket = ends[0];
        return m_server > 0;
    }

    // The read end of a pipe that the job's samples come through, or -1.
    int StartJob(std::size_t index) {
        if (send(m_socket, &index, sizeof index, MSG_NOSIGNAL) != sizeof index)
            return -1;
        return ReceiveDescriptor(m_socket);
    }

  private:
    [[noreturn]] static void Serve(const WorkerPool::Job& job, int socket) {
        // Jobs are reaped by the system; their success shows in what they send.
        std::signal(SIGCHLD, SIG_IGN);
        const pid_t server = getpid();
        std::size_t index = 0;
        while (recv(socket, &index, sizeof index, 0) == sizeof index) {
            int ends[2];
            if (pipe2(ends, O_CLOEXEC) != 0)
                _exit(1);
            fcntl(ends[1], F_SETPIPE_SZ, kPipeSize);
            const pid_t child = fork();
            if (child == 0) {
                close(socket);
                close(ends[0]);
                DieWithParent(server);
                RunJob(job, index, ends[1]);
            }
            close(ends[1]);
            const bool sent = child > 0 && SendDescriptor(socket, ends[0]);
            close(ends[0]);
            if (!sent)
                _exit(1);
        }
        _exit(0);
    }

    pid_t m_server = -1;
    int m_socket = -1;
};

// One job as the converter sees it: the samples that have come through its pipe and are
// not yet delivered.
class Worker {
  public:
    Worker() = default;
    Worker(const Worker&) = delete;
    Worker& operator=(const Worker&) = delete;
    ~Worker() {
        if (m_input >= 0)
            close(m_input);
    }

    // The storage of an earlier job is used again, as its memory is already in place.
    bool Start(JobServer& server, std::size_t index, std::vector<std::int16_t> storage) {
        m_storage = std::move(storage);
        m_input = server.StartJob(index);
        return m_input >= 0 && fcntl(m_input, F_SETFL, O_NONBLOCK) == 0;
    }

    int Input() const { return m_input; }
    bool IsDone() const { return m_input < 0; }

    // Takes what the job has sent so far. False when the job ended without sending all
    // its samples.
    bool Read() {
        for (;;) {
            const std::size_t needed = (m_received + kReadSize) / sizeof(std::int16_t) + 1;
            if (m_storage.size() < needed)
                m_storage.resize(std::max(m_storage.size() * 2, needed));
            const ssize_t got = read(m_input, Bytes() + m_received, kReadSize);
            if (got > 0) {
                m_received += static_cast<std::size_t>(got);
                continue;
            }
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0)
                return errno == EAGAIN;
            close(m_input);
            m_input = -1;
            return IsComplete();
        }
    }

    // Delivers the samples that came since the last call. While the job runs, the last
    // bytes might be its count, so they wait for the next call; once it is done, they are.
    bool Pass(const WorkerPool::Delivery& delivery, std::size_t index) {
        if (m_received < kCountSize + sizeof(std::int16_t))
            return true;
        const std::size_t count = (m_received - kCountSize) / sizeof(std::int16_t);
        if (!delivery(index, std::span(m_storage).first(count)))
            return false;
        m_passed += count;
        // What is left, less than a sample and the count, moves to the front, so that the
        // storage of the job whose turn it is stays as small as one read.
        m_received -= count * sizeof(std::int16_t);
        std::memmove(Bytes(), Bytes() + count * sizeof(std::int16_t), m_received);
        return true;
    }

    std::vector<std::int16_t> Release() { return std::move(m_storage); }

  private:
    // The count at the end matches the samples before it.
    bool IsComplete() const {
        std::uint64_t count = 0;
        if (m_received < kCountSize || (m_received - kCountSize) % sizeof(std::int16_t) != 0)
            return false;
        std::memcpy(&count, Bytes() + m_received - kCountSize, kCountSize);
        return count == m_passed + (m_received - kCountSize) / sizeof(std::int16_t);
    }

    // The pipe's bytes go straight into sample storage.
    char* Bytes() { return reinterpret_cast<char*>(m_storage.data()); }
    const char* Bytes() const { return reinterpret_cast<const char*>(m_storage.data()); }

    int m_input = -1;
    std::vector<std::int16_t> m_storage;
    // Bytes in storage, and samples delivered before them.
    std::size_t m_received = 0;
    std::uint64_t m_passed = 0;
};

} // namespace

bool WorkerPool::Run(std::size_t jobs, std::size_t processes, const Job& job,
                     const Delivery& delivery) {
    JobServer server;
    if (!server.Start(job))
        return false;
    std::map<std::size_t, Worker> workers;
    std::vector<std::vector<std::int16_t>> spareStorage;
    std::size_t started = 0;
    std::size_t delivered = 0;
    while (delivered < jobs) {
        std::size_t running = 0;
        for (const auto& [index, worker] : workers)
            running += worker.IsDone() ? 0 : 1;
        while (running < processes && started < jobs &&
               started < delivered + processes * kJobsAheadPerProcess) {
            std::vector<std::int16_t> storage;
            if (!spareStorage.empty()) {
                storage = std::move(spareStorage.back());
                spareStorage.pop_back();
            }
            if (!workers[started].Start(server, started, std::move(storage)))
                return false;
            ++started;
            ++running;
        }
        // The job whose turn it is hands its samples on as they come.
        if (const auto next = workers.find(delivered); next != workers.end()) {
            if (!next->second.Pass(delivery, delivered))
                return false;
            if (next->second.IsDone()) {
                spareStorage.push_back(next->second.Release());
                workers.erase(next);
                ++delivered;
                continue;
            }
        }
        std::vector<pollfd> inputs;
        std::vector<Worker*> polled;
        for (auto& [index, worker] : workers)
            if (!worker.IsDone()) {
                inputs.push_back({worker.Input(), POLLIN, 0});
                polled.push_back(&worker);
            }
        if (poll(inputs.data(), inputs.size(), -1) < 0 && errno != EINTR)
            return false;
        for (std::size_t i = 0; i < inputs.size(); ++i)
            if (inputs[i].revents && !polled[i]->Read())
                return false;
    }
    return true;
}
