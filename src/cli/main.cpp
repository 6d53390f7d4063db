#include <QCoreApplication>

#include <cstdio>

int main(int argc, char *argv[]) {
    QCoreApplication application(argc, argv);
    std::fputs("plenvoy-cli: no command yet\n", stderr);
    return 2;
}
