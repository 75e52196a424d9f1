// Where the program finds its three tools: tool n (1 the player and prober, 2 the
// encoder, 3 the converter and prober) is appDir + "plugins/OrvexRes" + n. Callers
// build the path just before they run the tool and put it first and unquoted on the
// command line; file names follow in double quotes.
#pragma once

#include <QString>
#include <QStringList>

namespace mdlMavrell {

// appDir + "plugins/OrvexRes": the prefix every tool path starts with (also the
// folder mark that tells our own tool processes from anybody else's).
QString ToolPrefix();

// The names tool n may have, in the order they are tried.
QStringList ToolCandidates(int n);

// The path of tool n: the first candidate that exists, else the last candidate
// (so that a missing tool still has a name to show and to test).
QString ToolPath(int n);

// Tool n's file exists.
bool ToolExists(int n);

// A file name as a command line takes it: in double quotes.
QString Quoted(const QString &path);
// The one rule for every path that goes into a tool's command line, wherever it came
// from (a dialog, the settings file, a name the program made): it can stand in double
// quotes, that is it holds neither a double quote nor a line break (which would end it
// or smuggle in a second command). A path that breaks it is refused with
// txt::InvalidFileName and the path before any tool starts.
bool Quotable(const QString &path);
// The first of paths that breaks that rule; "" when every one keeps it.
QString UnquotablePath(const QStringList &paths);

} // namespace mdlMavrell
