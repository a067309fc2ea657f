/* The help topics of the windows, by the context number each window names. */
#define IDH_MAIN_WINDOW 110
#define IDH_TOOLBAR_SETUP 330
#define IDH_ABOUT 340
#define IDH_TEST_GROUP 530
#define IDH_TEST 540
#define IDH_SCALE 550
#define IDH_INTERPRETATION 560
#define IDH_QUESTION 570
#define IDH_ANSWER 580
#define IDH_WEIGHT 590
#define IDH_ARRANGE_ITEMS 600
#define IDH_FIND 630
#define IDH_TEST_WINDOW 640
