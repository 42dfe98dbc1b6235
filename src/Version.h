#pragma once

// The program's version as shown by the About page and `calcudex-cli --version`.
const char* CalcudexVersion();
