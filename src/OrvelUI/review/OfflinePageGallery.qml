import Orvella.UI

// The preset bar over the offline speaker's page, for review pictures.
GroupPageGallery {
    offline: true
}
