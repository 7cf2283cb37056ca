// A library that anyone could drop beside a program or into its current
// folder under a name the program asks for by its bare name.
extern "C" __declspec(dllexport) int VelmoraPlanted() {
  return 42;
}
