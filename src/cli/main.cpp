// calctopo-batch: the headless runner of the load and compute actions.
#include <iostream>

int main() {
    std::cerr << "calctopo-batch : en construction\n";
    return 2;
}
