// The program of a layer's link check (src/CMakeLists.txt): it only has to
// link, with every object of its layer and nothing above it.
int main() {
    return 0;
}
