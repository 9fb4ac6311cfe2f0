// The entry of a program that holds one layer alone (see CMakeLists.txt); it is built, never run.
int main() { return 0; }
