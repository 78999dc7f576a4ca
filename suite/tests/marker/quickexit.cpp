// Test helper: a program with the suite linked in that ends as soon as it starts.
int main() { return 0; }
