// The phone server's clients over Boost.Beast: GET / answers the page, the WebSocket path takes
// phones with the session's code, everything else is refused; each address is held to its
// limits. Each connection's messages go through core/phones/phones.cpp, which alone talks to the
// game.
#include "core/phones/phoneserver.hpp"
#include "core/phones/phoneclients.hpp"
#include "core/phones/phones.hpp"
#include "core/phones/phonestates.hpp"

#include <boost/asio.hpp>
#include <boost/beast.hpp>

#include <chrono>
#include <memory>
#include <optional>
#include <sstream>
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

// Sockets the server holds open.
int openSockets = 0;
// The addresses of the server's clients with what they may still do. Only the server's thread
// uses it.
AddressBook addresses;

// Beast's view of text as the standard library's, which core/phones/phones.hpp takes.
std::string_view view(beast::string_view text) {
    return {text.data(), text.size()};
}

std::int64_t steadyMicroseconds() {
    return std::chrono::duration_cast<std::chrono::microseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// One client: its address, its HTTP stream until it becomes a phone's WebSocket, its request
// and answer. It counts as waiting at its address until it has shown the code.
struct Connection {
    Connection(tcp::socket socket, std::string from)
        : address(std::move(from)), stream(std::move(socket)) {}
    ~Connection() {
        openSockets -= 1;
        if (waiting) {
            endWaiting(addresses, address, steadyMicroseconds());
        }
    }
    std::string address;
    bool waiting = true;
    beast::tcp_stream stream;
    std::optional<websocket::stream<beast::tcp_stream>> phone;
    beast::flat_buffer buffer;
    http::request_parser<http::empty_body> parser;
    http::response<http::string_body> answer;
    PhoneLink link;
    // The handshake again, with whatever came after it, for the WebSocket to read.
    std::string handshake;
    // The WebSocket is open: accepted, and not closing. The number of the last state sent to the
    // page and its text, and whether a send is under way.
    bool open = false;
    std::uint64_t stateSeen = 0;
    std::string stateSending;
    bool stateWriting = false;
};
using Shared = std::shared_ptr<Connection>;
// Each seat's newest connection, which a new connection of the same phone closes.
std::vector<std::weak_ptr<Connection>> phoneConnections(maxPhoneTokens);

void send(const Shared& c, http::status status, const char* type, std::string body) {
    const std::string host = plainHost(view(c->parser.get()[http::field::host]));
    c->answer = {status, c->parser.get().version()};
    c->answer.set(http::field::content_type, type);
    c->answer.set(http::field::cache_control, "no-store");
    // The page runs its own inline script and style, talks only to its own WebSocket, and is
    // never framed, sniffed as another type, or named to other sites.
    c->answer.set("Content-Security-Policy", pagePolicy(host));
    c->answer.set("X-Content-Type-Options", "nosniff");
    c->answer.set("Referrer-Policy", "no-referrer");
    c->answer.keep_alive(false);
    c->answer.body() = std::move(body);
    c->answer.prepare_payload();
    http::async_write(c->stream, c->answer, [c](beast::error_code, std::size_t) {
        beast::error_code ignored;
        c->stream.socket().shutdown(tcp::socket::shutdown_send, ignored);
    });
}

// Sends the page its phone's latest state when it is newer than the one it has and no send is
// under way: one at a time, so that a page that reads slowly gets the newest, not a backlog.
void sendState(const Shared& c) {
    if (!c->open || c->stateWriting ||
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
            c->open = false;
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
    const std::int64_t now = steadyMicroseconds();
    PhoneRefusal refusal = PhoneRefusal::wrongCode;
    if (addressLocked(addresses, c->address, now)) {
        refusal = PhoneRefusal::tooOften;
    } else if (originAllowed(view(c->parser.get()[http::field::origin]),
                             plainHost(view(c->parser.get()[http::field::host])))) {
        refusal = openPhone(queryValue(view(query), "code"), queryValue(view(query), "token"),
                            c->link, now);
        if (refusal == PhoneRefusal::wrongCode) {
            noteWrongCode(addresses, c->address, now);
        }
    }
    if (refusal != PhoneRefusal::none) {
        // The answer to each refusal, in the order of PhoneRefusal.
        const std::pair<http::status, const char*> answers[] = {
            {http::status::ok, ""},
            {http::status::forbidden, "Refused\n"},
            {http::status::forbidden, "Refused\n"},
            {http::status::too_many_requests, "Too often\n"},
            {http::status::service_unavailable, "Too many phones\n"}};
        const auto& [status, text] = answers[static_cast<int>(refusal)];
        send(c, status, "text/plain", text);
        return;
    }
    c->waiting = false;
    endWaiting(addresses, c->address, now);
    // The phone's older connection speaks no more: it goes at once, with its socket.
    auto& newest = phoneConnections[static_cast<std::size_t>(c->link.seat)];
    if (const Shared old = newest.lock(); old != nullptr && old->phone) {
        beast::get_lowest_layer(*old->phone).close();
    }
    newest = c;
    // The WebSocket reads the handshake anew, and after it a first frame sent along with it.
    std::ostringstream handshake;
    handshake << c->parser.get().base() << beast::make_printable(c->buffer.data());
    c->handshake = handshake.str();
    c->buffer.consume(c->buffer.size());
    c->phone.emplace(std::move(c->stream));
    beast::get_lowest_layer(*c->phone).expires_never();
    websocket::stream_base::timeout timeout{requestTime, silentTime, true};
    c->phone->set_option(timeout);
    c->phone->read_message_max(maxPhoneMessage);
    c->phone->async_accept(net::buffer(c->handshake), [c](beast::error_code failed) {
        if (failed) {
            closePhone(c->link);
            return;
        }
        // The page hears its phone's latest state at once.
        c->open = true;
        sendState(c);
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
            answer(c);
        }
    });
}

} // namespace

void serveClient(tcp::socket socket, const std::string& from) {
    // Past the limits the socket closes at once: no host holds the table alone.
    if (openSockets < maxSockets && admitWaiting(addresses, from, steadyMicroseconds())) {
        openSockets += 1;
        // Presses and states are a few bytes each: they go at once, not held to be merged.
        beast::error_code ignored;
        socket.set_option(tcp::no_delay(true), ignored);
        readRequest(std::make_shared<Connection>(std::move(socket), from));
    }
}

void forgetClients() {
    addresses.clear();
    phoneConnections.assign(maxPhoneTokens, {});
}

void sendStates() {
    for (const auto& connection : phoneConnections) {
        if (const Shared c = connection.lock()) {
            sendState(c);
        }
    }
}
