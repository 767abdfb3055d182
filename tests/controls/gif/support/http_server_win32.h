#pragma once
// A loopback HTTP server for the download tests: it answers each request
// from a table of paths, and can hold a connection without ever answering.
#include <winsock2.h>
#include <ws2tcpip.h>

#include <atomic>
#include <map>
#include <string>
#include <thread>
#include <vector>

class LoopbackHttp {
public:
    struct Reply {
        int status = 200;
        std::string body;
        bool silent = false;  // read the request, then say nothing
    };

    explicit LoopbackHttp(std::map<std::string, Reply> replies) : replies(std::move(replies)) {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
        listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof(address));
        int length = sizeof(address);
        getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
        port = ntohs(address.sin_port);
        listen(listener, 8);
        worker = std::thread([this] { serve(); });
    }
    ~LoopbackHttp() {
        stopping = true;
        closesocket(listener);
        worker.join();
        for (SOCKET s : held) closesocket(s);
        WSACleanup();
    }
    std::string url(const std::string& path) const { return "http://127.0.0.1:" + std::to_string(port) + path; }

private:
    void serve() {
        while (!stopping) {
            SOCKET s = accept(listener, nullptr, nullptr);
            if (s == INVALID_SOCKET) return;
            std::string request;
            char buffer[2048];
            while (request.find("\r\n\r\n") == std::string::npos) {
                const int n = recv(s, buffer, sizeof(buffer), 0);
                if (n <= 0) break;
                request.append(buffer, static_cast<std::size_t>(n));
            }
            const std::size_t from = request.find(' ') + 1;
            const std::string path = request.substr(from, request.find(' ', from) - from);
            const auto it = replies.find(path);
            const Reply reply = it != replies.end() ? it->second : Reply{404, "not here"};
            if (reply.silent) {
                held.push_back(s);
                continue;
            }
            const std::string head = "HTTP/1.0 " + std::to_string(reply.status) + " X\r\nContent-Length: " +
                                     std::to_string(reply.body.size()) + "\r\nConnection: close\r\n\r\n";
            const std::string all = head + reply.body;
            send(s, all.data(), static_cast<int>(all.size()), 0);
            shutdown(s, SD_SEND);
            closesocket(s);
        }
    }

    std::map<std::string, Reply> replies;
    SOCKET listener;
    int port = 0;
    std::atomic<bool> stopping{false};
    std::vector<SOCKET> held;
    std::thread worker;
};
