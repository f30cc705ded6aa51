/* A library that holds nothing but a version resource, read by the file version tests. */
int sysVersionFixture(void) { return 0; }
