// The program's version as every part of it reports it: "1.0.0 (abc1234)",
// the release and the build it came from.
#pragma once

const char* BuildVersion();
