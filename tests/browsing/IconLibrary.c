/* The code of the test library and of the test program without icons: nothing but an entry point. */
int main(void) { return 0; }
