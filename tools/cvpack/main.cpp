#include <cstdio>
int main() { std::puts("cvpack: not built yet"); return 1; }
