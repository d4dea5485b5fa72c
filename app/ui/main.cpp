#include "StartUp.h"

int main(int argc, char** argv) {
    return runTarnPlayer(argc, argv);
}
