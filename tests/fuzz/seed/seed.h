#define IDH_START 10
#define IDH_NEXT 20
