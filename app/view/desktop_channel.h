// The desktop program's end of the command line's handover, put together: the server
// takes the data folder's desktop lock and listens before the windows load (so no command
// writes a file the program is about to read), and attach() points the requests at the
// settings window's lists once they are loaded. A change is put in place through the list
// views, so no row is left over a rule or folder that went away, and the tray's folder
// items follow. UI thread only.
#pragma once

#include <QString>
#include <memory>

#include "app/desktop_server.h"

namespace vandrel {

class DesktopRequests;
class FormStart;

class DesktopChannel {
  public:
    explicit DesktopChannel(const QString& dataDir);
    ~DesktopChannel();
    DesktopChannel(const DesktopChannel&) = delete;
    DesktopChannel& operator=(const DesktopChannel&) = delete;

    // Call right after the scheduler lock is taken, before the windows load. Requests
    // that arrive before attach() are answered "try again".
    DesktopServer::StartResult start() { return server_.start(); }
    // start must outlive this object (or the next attach).
    void attach(FormStart& start);

    DesktopServer& server() { return server_; }

  private:
    DesktopServer server_;
    std::unique_ptr<DesktopRequests> requests_;
};

}  // namespace vandrel
