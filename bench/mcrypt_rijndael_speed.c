/* The baseline for rijndael_speed: libmcrypt's rijndael-256 over the same buffer, ECB, in MB/s.
 *   mcrypt_rijndael_speed MEGABYTES */
#include <mcrypt.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>

int main(int argc, char** argv) {
  const size_t bytes = (size_t)(argc > 1 ? strtoul(argv[1], NULL, 10) : 64) << 20;
  unsigned char* buffer = malloc(bytes);
  unsigned char key[32];
  size_t i;
  if (!buffer) return 2;
  for (i = 0; i < bytes; ++i) buffer[i] = (unsigned char)(i * 31 + 7);
  for (i = 0; i < 32; ++i) key[i] = (unsigned char)(i * 5 + 1);
  MCRYPT td = mcrypt_module_open("rijndael-256", NULL, "ecb", NULL);
  if (td == MCRYPT_FAILED || mcrypt_generic_init(td, key, 32, NULL) < 0) return 3;
  struct timespec a, b;
  clock_gettime(CLOCK_MONOTONIC, &a);
  if (mcrypt_generic(td, buffer, (int)bytes) != 0) return 4;
  clock_gettime(CLOCK_MONOTONIC, &b);
  const double seconds = (double)(b.tv_sec - a.tv_sec) + (double)(b.tv_nsec - a.tv_nsec) / 1e9;
  printf("%.1f %02x\n", (double)bytes / 1e6 / seconds, buffer[bytes / 2]);
  mcrypt_generic_deinit(td);
  mcrypt_module_close(td);
  free(buffer);
  return 0;
}
