#include "Dialcove/Shell/DialcoveApp.hpp"

int main(int argc, char** argv) {
    return Dialcove::DialcoveApp(argc, argv).run();
}
