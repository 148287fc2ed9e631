#pragma once
// The HTTP side: the service's pages, static files below the root, limits, logging, shutdown.

#include <filesystem>
#include <string>

namespace tafserver {

struct ServeOptions
{
    std::string database;
    std::string bind = "127.0.0.1";
    int port = 8642; // 0: any free port (the chosen one is printed)
    std::filesystem::path root;
};

// Serves until SIGINT or SIGTERM; returns the process exit code.
int serve(const ServeOptions &options);

} // namespace tafserver
