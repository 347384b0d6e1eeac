// Program entry: hands over to the game's own entry point.
#include "main/hoopwind.h"

int main() {
    return WinMain();
}
