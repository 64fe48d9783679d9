// What the phone server's listening side hands its clients' side: each client it accepts.
#pragma once

#include <boost/asio/ip/tcp.hpp>

#include <string>

// Serves a client just accepted from that address, on the server's thread; past the limits of
// its address or of the server its socket closes at once.
void serveClient(boost::asio::ip::tcp::socket socket, const std::string& from);
// Forgets the clients and addresses of an earlier server.
void forgetClients();
// Sends each connected page its phone's state where a newer one is kept.
void sendStates();
