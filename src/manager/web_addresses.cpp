#include "manager/web_addresses.h"

namespace manager {

const WebAddresses kWebAddresses = {
    "http://" TH_COMMUNITY_HOST,
    "http://" TH_MASTER_SERVER_HOST,
    "http://" TH_FORUM_HOST "/viewforum.php?f=18",
    "http://" TH_SUPPORT_HOST,
    "http://" TH_OFFICIAL_HOST,
    "http://" TH_YOUR_IP_HOST,
};

}  // namespace manager
