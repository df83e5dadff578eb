// The peer's modes, one group per source file. Each takes the arguments that follow the mode's
// name (argv[0] is the mode) and returns the process's exit status.
#pragma once

int RunBootpClient(int argc, char** argv);  // bootp_client.cpp
int RunHoldPort(int argc, char** argv);     // hold_port.cpp
int RunFlood(int argc, char** argv);        // flood.cpp
