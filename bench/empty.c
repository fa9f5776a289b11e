/* The baseline: a Windows console program that does nothing. */
int main(void)
{
    return 0;
}
