// The phone server over Boost.Beast and Boost.Asio, on one thread: GET / answers the page,
// the WebSocket path takes phones with the session's code, everything else is refused. Each
// connection's messages go through core/phones.cpp, which alone talks to the game.
#include "core/phoneserver.hpp"

#include "core/phones.hpp"
#include "core/phonestates.hpp"

#include <boost/asio.hpp>
#include <boost/beast.hpp>

#include <algorithm>
#include <chrono>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

namespace {

namespace beast = boost::beast;
namespace http = beast::http;
namespace websocket = beast::websocket;
namespace net = boost::asio;
using tcp = net::ip::tcp;

// Sockets open at once, at most: the phones and the pages being loaded. More are closed at once.
constexpr int maxSockets = maxPhones + 64;
// A request must arrive within this time; a phone silent for half the other is pinged, and one
// that answers nothing within it is gone, like a pad pulled.
constexpr std::chrono::seconds requestTime(5);
constexpr std::chrono::seconds silentTime(10);

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
// Sockets the server holds open.
int openSockets = 0;

// One client: its HTTP stream until it becomes a phone's WebSocket, its request and answer.
struct Connection {
    explicit Connection(tcp::socket socket) : stream(std::move(socket)) {}
    ~Connection() { openSockets -= 1; }
    beast::tcp_stream stream;
    std::optional<websocket::stream<beast::tcp_stream>> phone;
    beast::flat_buffer buffer;
    http::request_parser<http::empty_body> parser;
    http::response<http::string_body> answer;
    PhoneLink link;
    // The number of the last state sent to the page and its text; whether a send is under way,
    // and whether the connection is closing, after which nothing more is sent.
    std::uint64_t stateSeen = 0;
    std::string stateSending;
    bool stateWriting = false;
    bool closing = false;
};
using Shared = std::shared_ptr<Connection>;

std::int64_t steadyMicroseconds() {
    return std::chrono::duration_cast<std::chrono::microseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// The value of name in the query "a=1&b=2"; empty when it has none.
std::string queryValue(beast::string_view query, beast::string_view name) {
    while (!query.empty()) {
        const auto end = query.find('&');
        const beast::string_view pair = query.substr(0, end);
        if (pair.size() > name.size() && pair.substr(0, name.size()) == name &&
            pair[name.size()] == '=') {
            return std::string(pair.substr(name.size() + 1));
        }
        query = end == beast::string_view::npos ? beast::string_view() : query.substr(end + 1);
    }
    return {};
}

void send(const Shared& c, http::status status, const char* type, std::string body) {
    c->answer = {status, c->parser.get().version()};
    c->answer.set(http::field::content_type, type);
    c->answer.set(http::field::cache_control, "no-store");
    c->answer.keep_alive(false);
    c->answer.body() = std::move(body);
    c->answer.prepare_payload();
    http::async_write(c->stream, c->answer, [c](beast::error_code, std::size_t) {
        beast::error_code ignored;
        c->stream.socket().shutdown(tcp::socket::shutdown_send, ignored);
    });
}

// The phones' open connections, to which their states go.
std::vector<std::weak_ptr<Connection>> pages;

// Sends the page its phone's latest state when it is newer than the one it has and no send is
// under way: one at a time, so that a page that reads slowly gets the newest, not a backlog.
void sendState(const Shared& c) {
    if (c->stateWriting || c->closing ||
        !newerPhoneState(c->link.seat, c->stateSeen, c->stateSending)) {
        return;
    }
    c->stateWriting = true;
    c->phone->text(true);
    c->phone->async_write(net::buffer(c->stateSending), [c](beast::error_code failed, std::size_t) {
        c->stateWriting = false;
        if (!failed) {
            sendState(c);
        }
    });
}

// Sends every open page what is newer for it, and forgets the connections gone.
void sendStates() {
    const auto gone = std::remove_if(pages.begin(), pages.end(), [](const auto& page) {
        const Shared c = page.lock();
        if (c) {
            sendState(c);
        }
        return !c;
    });
    pages.erase(gone, pages.end());
}

void readMessage(const Shared& c) {
    c->phone->async_read(c->buffer, [c](beast::error_code failed, std::size_t) {
        if (failed) {
            // Closed, dropped, silent or too long: the phone is gone.
            closePhone(c->link);
            return;
        }
        const std::string text = beast::buffers_to_string(c->buffer.data());
        c->buffer.consume(c->buffer.size());
        const PhoneVerdict verdict = c->phone->got_text()
                                         ? phoneMessage(c->link, text, steadyMicroseconds())
                                         : PhoneVerdict::close;
        if (verdict == PhoneVerdict::close) {
            closePhone(c->link);
            c->closing = true;
            c->phone->async_close(websocket::close_code::policy_error, [c](beast::error_code) {});
            return;
        }
        readMessage(c);
    });
}

// Becomes a phone's WebSocket when the request carries the code and a token and there is room.
void takePhone(const Shared& c) {
    const auto target = c->parser.get().target();
    const auto mark = target.find('?');
    const auto query =
        mark == beast::string_view::npos ? beast::string_view() : target.substr(mark + 1);
    const PhoneRefusal refusal =
        openPhone(queryValue(query, "code"), queryValue(query, "token"), c->link);
    if (refusal != PhoneRefusal::none) {
        const bool full = refusal == PhoneRefusal::full;
        send(c, full ? http::status::service_unavailable : http::status::forbidden, "text/plain",
             full ? "Too many phones\n" : "Wrong code\n");
        return;
    }
    c->phone.emplace(std::move(c->stream));
    beast::get_lowest_layer(*c->phone).expires_never();
    websocket::stream_base::timeout timeout{requestTime, silentTime, true};
    c->phone->set_option(timeout);
    c->phone->read_message_max(maxPhoneMessage);
    c->phone->async_accept(c->parser.get(), [c](beast::error_code failed) {
        if (failed) {
            closePhone(c->link);
            return;
        }
        // Sent its latest state at once; the connections gone are forgotten here too, so that
        // the list stays as short as the phones connected.
        pages.push_back(c);
        sendStates();
        readMessage(c);
    });
}

void answer(const Shared& c) {
    const auto& request = c->parser.get();
    const auto target = request.target();
    const auto path = target.substr(0, target.find('?'));
    if (websocket::is_upgrade(request) && path == "/phone") {
        takePhone(c);
    } else if (request.method() == http::verb::get && path == "/") {
        send(c, http::status::ok, "text/html; charset=utf-8", phonePage);
    } else {
        send(c, http::status::not_found, "text/plain", "Not found\n");
    }
}

void readRequest(const Shared& c) {
    c->parser.header_limit(4096);
    c->parser.body_limit(0);
    c->stream.expires_after(requestTime);
    http::async_read(c->stream, c->buffer, c->parser, [c](beast::error_code failed, std::size_t) {
        if (!failed) {
            c->buffer.consume(c->buffer.size());
            answer(c);
        }
    });
}

void acceptNext() {
    server->acceptor.async_accept([](beast::error_code failed, tcp::socket socket) {
        if (failed == net::error::operation_aborted) {
            return;
        }
        if (failed) {
            // Out of file descriptors or the like: try again a little later, not in a spin.
            server->pause.expires_after(std::chrono::milliseconds(100));
            server->pause.async_wait([](beast::error_code) { acceptNext(); });
            return;
        }
        if (openSockets < maxSockets) {
            openSockets += 1;
            // Presses and states are a few bytes each: they go at once, not held to be merged.
            beast::error_code ignored;
            socket.set_option(tcp::no_delay(true), ignored);
            readRequest(std::make_shared<Connection>(std::move(socket)));
        }
        acceptNext();
    });
}

} // namespace

bool startPhoneServer(unsigned short& port, const std::string& code, std::string& error) {
    startPhoneSession(code);
    forgetPhoneStates();
    auto* starting = new Server;
    beast::error_code failed;
    const tcp::endpoint everywhere(net::ip::address_v4::any(), port);
    starting->acceptor.open(everywhere.protocol(), failed);
#if !defined(_WIN32)
    // The port is free again at once after the game ends, whatever connections still linger.
    // (On Windows the same option would let another program take the port over.)
    if (!failed) {
        starting->acceptor.set_option(net::socket_base::reuse_address(true), failed);
    }
#endif
    if (!failed) {
        starting->acceptor.bind(everywhere, failed);
    }
    if (!failed) {
        starting->acceptor.listen(net::socket_base::max_listen_connections, failed);
    }
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
