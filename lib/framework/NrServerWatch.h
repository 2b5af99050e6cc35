#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

// Watches the round trips of one PostgreSQL connection for a server that has
// stopped answering while the network still takes the packets (a proxy or a
// firewall that holds the connection, a server that hangs): the system's
// keepalive probes do not find it, since the machine in between answers them.
// A round trip that has lasted a quarter of the silence allowed makes the
// watch ask the server, on a connection of its own, whether it still answers
// (an SSL request, which the server answers before any login); when no answer
// comes within half the silence, the connection's socket is shut, which ends
// the round trip with an error at once. A server that answers is waited for
// as long as the statement runs.
class NrServerWatch
{
public:
    // The socket of the connection, and where its server listens: a numeric
    // address, or the folder of a Unix-domain socket.
    NrServerWatch(int socket, const std::string &address, int port, int silenceSeconds);
    ~NrServerWatch();
    NrServerWatch(const NrServerWatch &) = delete;
    NrServerWatch &operator=(const NrServerWatch &) = delete;

    // A round trip starts and ends, one inside another too; cheap enough for
    // every row fetched.
    void begin()
    {
        m_round.fetch_add(1, std::memory_order_relaxed);
        m_depth.fetch_add(1, std::memory_order_release);
    }
    void end() { m_depth.fetch_sub(1, std::memory_order_release); }
    // The watch shut the connection: its server did not answer.
    bool silent() const { return m_silent.load(); }
    int silenceSeconds() const { return m_silenceMs / 1000; }

private:
    void run();
    // Whether the server answers an SSL request within the time given.
    bool answers(int milliseconds) const;
    // Shuts the connection's socket, when it is still the connection's.
    void shutConnection();

    const int m_socket;
    const std::string m_address;
    const int m_port;
    const int m_silenceMs;
    std::string m_local; // the socket's own address
    std::atomic<std::uint64_t> m_round{0};
    std::atomic<int> m_depth{0}; // round trips under way
    std::atomic<bool> m_silent{false};
    std::mutex m_mutex;
    std::condition_variable m_stopped;
    bool m_stop = false;
    std::thread m_thread;
};
