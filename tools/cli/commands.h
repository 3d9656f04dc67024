#pragma once

namespace veltrane::cli {

// Each command takes the arguments after its own name and returns the exit status.
int runReplay(int argc, char** argv);
int runMonitor(int argc, char** argv);
int runPorts(int argc, char** argv);
int runDetect(int argc, char** argv);

}  // namespace veltrane::cli
