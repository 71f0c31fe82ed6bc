#include "tests/fuzz/FuzzSupport.h"

#include "engine/core/EngDebug.h"
#include "platform/win32/Win32MessageBox.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cstdio>
#include <mutex>
#include <netinet/in.h>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace {

// A reader's failure report would show a box and wait for a click.
int AnswerMessageBox(const char *, const char *, UINT) { return IDOK; }

std::string MakeFolder()
{
    char name[] = "/tmp/hw-fuzz-XXXXXX";
    if (!mkdtemp(name)) {
        std::perror("mkdtemp");
        std::abort();
    }
    if (chdir(name) != 0) {
        std::perror("chdir");
        std::abort();
    }
    setenv("HOME", name, 1);
    setenv("XDG_DATA_HOME", name, 1);
    PlatformSetMessageBoxHook(AnswerMessageBox);
    // The folder goes with the process, whichever way libFuzzer ends it.
    static std::string kept = name;
    std::atexit([] {
        std::error_code ignored;
        std::filesystem::remove_all(kept, ignored);
    });
    return name;
}

} // namespace

const std::string &FuzzSetup()
{
    static const std::string folder = MakeFolder();
    return folder;
}

void FuzzWriteFile(const std::string &path, const uint8_t *data, size_t size)
{
    std::string name = path;
    std::replace(name.begin(), name.end(), '\\', '/');
    std::error_code ignored;
    std::filesystem::path folder = std::filesystem::path(name).parent_path();
    if (!folder.empty())
        std::filesystem::create_directories(folder, ignored);
    FILE *file = std::fopen(name.c_str(), "wb");
    if (!file || (size && std::fwrite(data, 1, size, file) != size) || std::fclose(file) != 0) {
        std::perror(path.c_str());
        std::abort();
    }
}

void FuzzEndInput() { DebugClearLogs(); }

namespace {

std::mutex answer_mutex;
std::string answer;

// Reads the request's head, then sends the answer and closes.
void Serve(int listener)
{
    for (;;) {
        int client = accept(listener, nullptr, nullptr);
        if (client < 0)
            continue;
        std::string request;
        char buffer[1024];
        while (request.find("\r\n\r\n") == std::string::npos) {
            ssize_t got = recv(client, buffer, sizeof(buffer), 0);
            if (got <= 0)
                break;
            request.append(buffer, static_cast<size_t>(got));
        }
        std::string reply;
        {
            std::lock_guard<std::mutex> lock(answer_mutex);
            reply = "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nConnection: close\r\nContent-Length: " +
                    std::to_string(answer.size()) + "\r\n\r\n" + answer;
        }
        for (size_t sent = 0; sent < reply.size();) {
            ssize_t put = send(client, reply.data() + sent, reply.size() - sent, MSG_NOSIGNAL);
            if (put <= 0)
                break;
            sent += static_cast<size_t>(put);
        }
        close(client);
    }
}

std::string StartServer()
{
    int listener = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof(address);
    if (listener < 0 || bind(listener, reinterpret_cast<sockaddr *>(&address), sizeof(address)) != 0 ||
        listen(listener, 16) != 0 || getsockname(listener, reinterpret_cast<sockaddr *>(&address), &length) != 0) {
        std::perror("loopback server");
        std::abort();
    }
    std::thread(Serve, listener).detach();
    return "http://127.0.0.1:" + std::to_string(ntohs(address.sin_port));
}

} // namespace

const std::string &FuzzServerAddress()
{
    static const std::string address = StartServer();
    return address;
}

void FuzzServeAnswer(const uint8_t *data, size_t size)
{
    std::lock_guard<std::mutex> lock(answer_mutex);
    answer.assign(reinterpret_cast<const char *>(data), size);
}
