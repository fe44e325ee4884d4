// The messages of the desktop program's local channel (framed by FrameReader). A request
// names one command and carries what the command line parsed; the reply says what the
// command line would have said: its exit status and the lines for stdout and stderr.
//   {"v":1,"command":"rules-import","file":ABS,"yes":BOOL}
//   {"v":1,"command":"folders-add", ...FolderAddRequest::toJson()}
//   {"v":1,"command":"folders-remove","path":ABS}
//   reply: {"status":N,"out":[LINE...],"err":[LINE...],"folder":TEXT}  (folder: added one)
#pragma once

namespace vandrel::desktop {

inline constexpr int kVersion = 1;
inline constexpr char kCommandRulesImport[] = "rules-import";
inline constexpr char kCommandFoldersAdd[] = "folders-add";
inline constexpr char kCommandFoldersRemove[] = "folders-remove";

// Requests are small (paths and options); replies carry a few lines.
inline constexpr qint64 kMaxRequestBytes = 64 * 1024;
inline constexpr qint64 kMaxReplyBytes = 4 * 1024 * 1024;

}  // namespace vandrel::desktop
