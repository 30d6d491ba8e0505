// The program of a link check: its only work is to link, so it needs nothing but a main.
int main() {
    return 0;
}
