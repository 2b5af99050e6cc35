#include "NrServerWatch.h"

#include <cerrno>
#include <chrono>
#include <cstring>

#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// The first bytes a client may send: length 8, then the SSL request code.
constexpr unsigned char kSslRequest[8] = {0, 0, 0, 8, 0x04, 0xd2, 0x16, 0x2f};

std::string localAddress(int socket)
{
    sockaddr_storage address{};
    socklen_t length = sizeof address;
    if (::getsockname(socket, reinterpret_cast<sockaddr *>(&address), &length) != 0)
        return {};
    return std::string(reinterpret_cast<const char *>(&address), length);
}

// Waits for the events on the socket until the deadline; false when it passed.
bool await(int socket, short events, std::chrono::steady_clock::time_point deadline)
{
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return false;
        pollfd watched{socket, events, 0};
        const int ready = ::poll(&watched, 1, static_cast<int>(left.count()));
        if (ready > 0)
            return true;
        if (ready < 0 && errno != EINTR)
            return false;
    }
}

} // namespace

NrServerWatch::NrServerWatch(int socket, const std::string &address, int port, int silenceSeconds)
    : m_socket(socket)
    , m_address(address)
    , m_port(port)
    , m_silenceMs(silenceSeconds * 1000)
    , m_local(localAddress(socket))
    , m_thread([this] { run(); })
{
}

NrServerWatch::~NrServerWatch()
{
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_stopped.notify_all();
    m_thread.join();
}

void NrServerWatch::run()
{
    const auto tick = std::chrono::milliseconds(m_silenceMs / 4);
    std::uint64_t seen = 0;
    std::unique_lock lock(m_mutex);
    while (!m_silent.load()) {
        if (m_stopped.wait_for(lock, tick, [this] { return m_stop; }))
            return;
        // A round trip that was already under way at the last look.
        const std::uint64_t round = m_round.load(std::memory_order_relaxed);
        const bool lasting = m_depth.load(std::memory_order_acquire) > 0 && round == seen;
        seen = round;
        if (!lasting)
            continue;
        lock.unlock();
        const bool alive = answers(m_silenceMs / 2);
        lock.lock();
        if (!alive && !m_stop && m_depth.load(std::memory_order_acquire) > 0 && m_round.load() == round) {
            m_silent.store(true);
            shutConnection();
        }
    }
}

bool NrServerWatch::answers(int milliseconds) const
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    sockaddr_storage address{};
    socklen_t length = 0;
    if (!m_address.empty() && m_address.front() == '/') {
        auto *local = reinterpret_cast<sockaddr_un *>(&address);
        const std::string path = m_address + "/.s.PGSQL." + std::to_string(m_port);
        if (path.size() >= sizeof local->sun_path)
            return false;
        local->sun_family = AF_UNIX;
        std::memcpy(local->sun_path, path.c_str(), path.size() + 1);
        length = sizeof(sockaddr_un);
    } else {
        addrinfo hints{};
        hints.ai_flags = AI_NUMERICHOST | AI_NUMERICSERV;
        hints.ai_socktype = SOCK_STREAM;
        addrinfo *found = nullptr;
        if (::getaddrinfo(m_address.c_str(), std::to_string(m_port).c_str(), &hints, &found) != 0 || !found)
            return false;
        std::memcpy(&address, found->ai_addr, found->ai_addrlen);
        length = found->ai_addrlen;
        ::freeaddrinfo(found);
    }
    const int probe = ::socket(address.ss_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (probe < 0)
        return false;
    bool alive = false;
    if (::connect(probe, reinterpret_cast<sockaddr *>(&address), length) == 0 || errno == EINPROGRESS) {
        int error = 0;
        socklen_t size = sizeof error;
        if (await(probe, POLLOUT, deadline) && ::getsockopt(probe, SOL_SOCKET, SO_ERROR, &error, &size) == 0
            && error == 0 && ::send(probe, kSslRequest, sizeof kSslRequest, MSG_NOSIGNAL) == sizeof kSslRequest
            && await(probe, POLLIN, deadline)) {
            // 'S' or 'N', or an error message from a server that refuses SSL requests: an answer all the same.
            char answer = 0;
            alive = ::recv(probe, &answer, 1, 0) == 1;
        }
    }
    ::close(probe);
    return alive;
}

void NrServerWatch::shutConnection()
{
    // The driver may have closed the socket and the number gone to another one.
    if (!m_local.empty() && localAddress(m_socket) == m_local)
        ::shutdown(m_socket, SHUT_RDWR);
}
