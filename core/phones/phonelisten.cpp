// The phone server's listening socket and thread: one Boost.Asio loop on a thread of its own
// accepts clients on the port of every address, IPv6 and IPv4, and hands them to
// core/phones/phoneserver.cpp.
#include "core/phones/phoneclients.hpp"
#include "core/phones/phones.hpp"
#include "core/phones/phoneserver.hpp"
#include "core/phones/phonestates.hpp"
#include "core/system.hpp"

#include <boost/asio.hpp>

#include <chrono>
#include <thread>

namespace {

namespace net = boost::asio;
using tcp = net::ip::tcp;
using error_code = boost::system::error_code;

// The running server: its loop, its listening socket, the pause after a failed accept and its
// thread.
struct Server {
    net::io_context loop{1};
    tcp::acceptor acceptor{loop};
    net::steady_timer pause{loop};
    std::thread thread;
};
// The server while it runs; none before it starts and after it stops.
Server* server = nullptr;

// The client's address; an IPv4 one in its own form, also when it came in over IPv6.
std::string addressOf(const tcp::socket& socket) {
    error_code failed;
    net::ip::address address = socket.remote_endpoint(failed).address();
    if (address.is_v6() && address.to_v6().is_v4_mapped()) {
        address = net::ip::make_address_v4(net::ip::v4_mapped, address.to_v6());
    }
    return address.to_string();
}

void acceptNext() {
    server->acceptor.async_accept([](error_code failed, tcp::socket socket) {
        if (failed == net::error::operation_aborted) {
            return;
        }
        if (failed) {
            // Out of file descriptors or the like: try again a little later, not in a spin.
            server->pause.expires_after(std::chrono::milliseconds(100));
            server->pause.async_wait([](error_code) { acceptNext(); });
            return;
        }
        const std::string from = addressOf(socket);
        serveClient(std::move(socket), from);
        acceptNext();
    });
}

// Listens on the port of every address: IPv6 and IPv4 on one socket where the system has IPv6,
// else IPv4 alone.
void listenEverywhere(tcp::acceptor& acceptor, unsigned short port, error_code& failed) {
    acceptor.open(tcp::v6(), failed);
    if (!failed) {
        acceptor.set_option(net::ip::v6_only(false), failed);
    }
    const bool dual = !failed;
    if (!dual) {
        error_code ignored;
        acceptor.close(ignored);
        acceptor.open(tcp::v4(), failed);
    }
    // The port is free again at once after the game ends, whatever connections still linger.
    if (!failed && reuseListeningPort) {
        acceptor.set_option(net::socket_base::reuse_address(true), failed);
    }
    const net::ip::address any = dual ? net::ip::address(net::ip::address_v6::any())
                                      : net::ip::address(net::ip::address_v4::any());
    if (!failed) {
        acceptor.bind(tcp::endpoint(any, port), failed);
    }
    if (!failed) {
        acceptor.listen(net::socket_base::max_listen_connections, failed);
    }
}

} // namespace

bool startPhoneServer(unsigned short& port, const std::string& code, std::string& error) {
    startPhoneSession(code);
    forgetClients();
    forgetPhoneStates();
    auto* starting = new Server;
    error_code failed;
    listenEverywhere(starting->acceptor, port, failed);
    if (failed) {
        error = "can't listen on port " + std::to_string(port) + ": " + failed.message();
        delete starting;
        return false;
    }
    port = starting->acceptor.local_endpoint().port();
    server = starting;
    acceptNext();
    server->thread = std::thread([] { server->loop.run(); });
    return true;
}

void stopPhoneServer() {
    if (server == nullptr) {
        return;
    }
    server->loop.stop();
    server->thread.join();
    // The loop's pending work, and the connections it holds, go with the server.
    delete server;
    server = nullptr;
}

void tellPhone(int seat, const std::string& text) {
    keepPhoneState(seat, text);
    if (server != nullptr) {
        net::post(server->loop, sendStates);
    }
}
