#include "app/startup.h"

int main() { return RunGame(); }
